#include "cli/request_reader.h"

#include <bit>
#include <cstdint>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>

namespace quorvane {
namespace {

// The fields point into the text: each text read is kept while its fields are looked at.
bool Read(const std::string& text, RequestFields& fields) {
    static std::string kept;
    kept = text;
    return ReadRequestFields(kept, fields);
}

TEST(RequestReader, ReadsTheFieldsOfAPlainRequest) {
    RequestFields f;
    ASSERT_TRUE(Read(R"( {"eos": "PR-78", "flash": "TV", "T_F": 40, "vf": 0.25,
        "components": [{"name": "A]\"["}, [1, {"x": 2}]], "z": [0.5, 0.5],
        "kij": [[0, 0.1], [0.1, 0]], "estimate_kij": false, "note": {"a": [true, null, "s"]},
        "properties": ["thermal", "transport"]} )",
                     f));
    EXPECT_EQ(f.eos, "PR-78");
    EXPECT_EQ(f.flash, "TV");
    EXPECT_EQ(f.tempF, 40.0);
    EXPECT_FALSE(f.pressPsia.has_value());
    EXPECT_EQ(f.vaporFraction, 0.25);
    EXPECT_EQ(f.components, R"([{"name": "A]\"["}, [1, {"x": 2}]])");
    ASSERT_EQ(f.zCount, 2U);
    ASSERT_TRUE(f.kijGiven);
    ASSERT_EQ(f.kijRows, 2U);
    EXPECT_EQ(f.kij[1], 0.1); // row 0, column 1
    EXPECT_EQ(f.kij[2], 0.1); // row 1, column 0
    EXPECT_EQ(f.estimateKij, false);
    EXPECT_EQ(f.propertyGroups, (1U << 2) | (1U << 3));

    // null is an absent field; a later member counts; false asks for no property.
    ASSERT_TRUE(Read(R"({"T_F": 1, "T_F": null, "P_psia": 2, "P_psia": 3, "kij": null,
        "properties": false, "components": [], "z": []})",
                     f));
    EXPECT_FALSE(f.tempF.has_value());
    EXPECT_EQ(f.pressPsia, 3.0);
    EXPECT_FALSE(f.kijGiven);
    EXPECT_EQ(f.propertyGroups, 0U);
}

// Every number the reader takes is the double the full parser makes of it, to the bit.
TEST(RequestReader, NumbersAreThoseOfTheFullParser) {
    for (const char* number :
         {"0", "-0", "-0.0", "7", "-12", "0.1", "1e2", "5E-2", "2.5e-8", "123456789012345678",
          "12345678901234567890123", "9007199254740993", "1.7976931348623157e308",
          "2.2250738585072014e-308", "0.30000000000000004", "-459.67"}) {
        RequestFields f;
        ASSERT_TRUE(Read(std::string(R"({"T_F": )") + number + "}", f)) << number;
        const double expected = nlohmann::json::parse(number).get<double>();
        EXPECT_EQ(std::bit_cast<std::uint64_t>(*f.tempF), std::bit_cast<std::uint64_t>(expected))
            << number;
    }
    for (const char* refused : {"1e400", "-1e400", "1e-400", "4e-320", "01", "1.", ".5", "+1", "1e",
                                "NaN", "Infinity", "0x10", "1_000"}) {
        RequestFields f;
        EXPECT_FALSE(Read(std::string(R"({"T_F": )") + refused + "}", f)) << refused;
    }
}

// Whatever is not plain text, or not of its kind, is left to the full parser.
TEST(RequestReader, AnythingUnusualIsLeftToTheFullParser) {
    for (const char* text : {
             R"({"eos": "P\u0052"})",                     // an escape
             R"({"e\u006fs": "PR"})",                     // an escaped member name
             R"({"note": "café"})",                       // a byte outside ASCII
             R"({"eos": "PR" /* comment */})",            // a comment
             R"({"components": [1], "components": [2]})", // the array twice
             R"({"components": {"a": 1}})",               // not an array
             R"({"components": [1, 2})",                  // unbalanced
             R"({"components": ["unterminated]})",        // unended string
             R"(["eos", "PR"])",                          // not an object
             R"({"eos": "PR"} x)",                        // text after the object
             R"({"eos": "PR",})",                         // a trailing comma
             R"({"eos": 3})",                             // a known field of the wrong kind
             R"({"z": [0.5, "0.5"]})",                    // a number as a string
             R"({"kij": [[0, 1], [1]]})",                 // rows of different lengths
             R"({"estimate_kij": 1})",                    // not true or false
             R"({"properties": ["thermal", "colour"]})",  // an unknown group
             R"({"note": [1, 2})",                        // an unknown member, broken
             R"({"note": tru})",                          // a broken literal
         }) {
        RequestFields f;
        EXPECT_FALSE(Read(text, f)) << text;
    }
    RequestFields f;
    EXPECT_TRUE(Read(R"({"note": [[[[{"deep": [[]]}]]]], "other": {}})", f));
    EXPECT_TRUE(Read("{}", f));
}

} // namespace
} // namespace quorvane
