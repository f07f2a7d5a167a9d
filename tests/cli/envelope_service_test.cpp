#include "cli/envelope_service.h"
#include "cli/flash_service.h"
#include "cli/request_error.h"

#include <fstream>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

json Example() {
    std::ifstream file(QUORVANE_SOURCE_DIR "/examples/natural_gas_tp.json");
    return json::parse(file, nullptr, true, true);
}

// The example's mixture, with its flash fields replaced.
json ExampleAs(const char* flash, double tempF, double pressPsia) {
    json request = Example();
    request["flash"] = flash;
    request["T_F"] = tempF;
    request["P_psia"] = pressPsia;
    return request;
}

ordered_json Answer(const EnvelopeService& service, const json& request) {
    return ordered_json::parse(service.Answer(request));
}

// The example gas under PR: critical point near -44.9 °F and 1378 psia, cricondenbar near
// 2021 psia, cricondentherm near 174.7 °F; the flash fields are not read.
TEST(EnvelopeCommands, CriticalAnswersTheThreePointsOfTheExampleGas) {
    const EnvelopeService critical(nullptr, EnvelopeCommand::Critical);
    json request = Example();
    request["flash"] = "no such flash type"; // not read
    const ordered_json a = Answer(critical, request);
    std::vector<std::string> keys;
    for (const auto& item : a.items()) {
        keys.push_back(item.key());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"critical", "cricondenbar", "cricondentherm"}));
    EXPECT_NEAR(a["critical"]["T_F"].get<double>(), -44.94, 0.05);
    EXPECT_NEAR(a["critical"]["P_psia"].get<double>(), 1377.8, 0.5);
    EXPECT_GT(a["cricondenbar"]["P_psia"].get<double>(), a["critical"]["P_psia"].get<double>());
    EXPECT_GT(a["cricondentherm"]["T_F"].get<double>(), a["critical"]["T_F"].get<double>());
}

// Both branches end at the critical point; the dew branch is the one of higher temperatures.
TEST(EnvelopeCommands, EnvelopeAnswersTwoBranchesThatMeetAtTheCriticalPoint) {
    const EnvelopeService envelope(nullptr, EnvelopeCommand::Envelope);
    const ordered_json a = Answer(envelope, Example());
    const auto& bubble = a["bubble"];
    const auto& dew = a["dew"];
    ASSERT_GT(bubble.size(), 10U);
    ASSERT_GT(dew.size(), 10U);
    EXPECT_EQ(bubble.back(), a["critical"]);
    EXPECT_EQ(dew.back(), a["critical"]);
    EXPECT_LT(bubble.front()["P_psia"].get<double>(), 15.0);
    EXPECT_LT(bubble.front()["T_F"].get<double>(), dew.front()["T_F"].get<double>());
    EXPECT_FALSE(a.contains("message"));
    EXPECT_THROW(envelope.Answer(std::string_view(R"({"eos": "PR"})")), RequestError);
}

// A flash answer: residual always, other_point when there is a second dew point, no K for one
// phase, no computed value for a point that does not exist.
TEST(EnvelopeCommands, FlashAnswersSayWhatTheDriverFound) {
    const FlashService flash(nullptr);
    const ordered_json dew = ordered_json::parse(flash.Answer(ExampleAs("DEWP", 40.0, 1.0)));
    EXPECT_TRUE(dew["converged"].get<bool>());
    EXPECT_LT(dew["residual"].get<double>(), 1e-9);
    EXPECT_NEAR(dew["other_point"]["P_psia"].get<double>(), 2000.8, 1.0);
    const ordered_json bubble = ordered_json::parse(flash.Answer(ExampleAs("BUBP", 40.0, 1.0)));
    EXPECT_FALSE(bubble["converged"].get<bool>());
    EXPECT_TRUE(bubble["P_psia"].is_null());
    EXPECT_EQ(bubble["warning"].get<std::string>().rfind("No bubble point at 40 °F: ", 0), 0U);
    const ordered_json hot = ordered_json::parse(flash.Answer(ExampleAs("TP", 250.0, 800.0)));
    EXPECT_EQ(hot["vf"].get<double>(), 1.0);
    EXPECT_TRUE(hot["K"].is_null());
}

} // namespace
} // namespace quorvane
