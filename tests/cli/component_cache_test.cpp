#include "cli/component_cache.h"
#include "cli/flash_service.h"
#include "cli/request_error.h"
#include "tests/cli/bundled_components.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace quorvane {
namespace {

using nlohmann::json;

// Answers through the text reader and the cache, and through the whole-document parse, are the
// same, errors included, on the first sight of a components array and on the next.
class CachedAnswers : public ::testing::Test {
protected:
    std::string Direct(const std::string& text) {
        try {
            return m_direct.Answer(json::parse(text));
        } catch (const RequestError& error) {
            return std::string("error: ") + error.what();
        } catch (const json::parse_error&) {
            return "malformed";
        }
    }
    std::string Text(const std::string& text) {
        try {
            return m_cached.Answer(std::string_view(text));
        } catch (const RequestError& error) {
            const std::string message = error.what();
            return message.rfind("malformed JSON", 0) == 0 ? "malformed" : "error: " + message;
        }
    }

    FlashService m_direct{nullptr};
    FlashService m_cached{nullptr};
};

TEST_F(CachedAnswers, MatchTheWholeDocumentParse) {
    const std::string methane = testing::FlashFieldsOf("METHANE").dump(1);
    const std::string butane = testing::FlashFieldsOf("n-BUTANE").dump(1);
    const std::string mixture = "[" + methane + ", " + butane + "]";
    const std::string badMixture = "[" + methane + R"(, {"name": "n-BUTANE", "MW": 58.1}])";
    const std::vector<std::string> requests{
        R"({"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": )" + mixture +
            R"(, "z": [0.5, 0.5]})",
        R"({"eos": "SRK", "flash": "BUBP", "T_F": 20, "components": )" + mixture +
            R"(, "z": [0.3, 0.7], "kij": [[0, 0.01], [0.01, 0]]})",
        R"({"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": -5, "components": )" + mixture +
            R"(, "z": [0.5, 0.5]})",
        R"({"eos": "XX", "flash": "TP", "T_F": 40, "P_psia": 500, "components": )" + badMixture +
            R"(, "z": [0.5, 0.5]})",
        R"({"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": )" + badMixture +
            R"(, "z": [0.5, 0.5]})",
        R"({"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": )" + mixture +
            R"(, "z": [0.5, "0.5"]})",
        R"({"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": )" + mixture +
            R"(, "z": [0.5, 0.5], })",
        R"({"eos": "PR", "flash": "DEWT", "P_psia": 300, "components": )" + mixture +
            R"(, "z": [0.9, 0.1], "estimate_kij": true})",
        R"({"eos": "PR", "flash": "TP", "T_F": -0, "P_psia": 5E2, "components": )" + mixture +
            R"(, "z": [0.5, 0.5], "properties": ["thermal", "density"], "note": [1, {"a": null}]})",
        R"({"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": )" + mixture +
            R"(, "z": [0.5, 0.5], "properties": false, "T_F": 60})",
        R"({"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": )" + mixture +
            R"(, "z": [0.5, 0.5], "properties": ["colour"]})",
        R"({"eos": "P\u0052", "flash": "TP", "T_F": 40, "P_psia": 500, "components": )" + mixture +
            R"(, "z": [0.5, 0.5], "kij": [[0, 0.02], [0.02, 0]]})",
        R"({"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": )" + mixture +
            R"(, "z": [0.5, 0.5], "kij": [[0, 0.02]]})",
        R"({"eos": "PR", "flash": "TV", "T_F": 40, "vf": 1.5, "components": )" + mixture +
            R"(, "z": [0.5, 0.5]})",
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (const std::string& request : requests) {
            EXPECT_EQ(Text(request), Direct(request)) << request;
        }
    }
}

} // namespace
} // namespace quorvane
