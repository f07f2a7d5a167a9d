#include "cli/float_text.h"
#include "cli/json_writer.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>

namespace quorvane {
namespace {

TEST(JsonWriter, SinglePrecisionValuesUseTheirShortestDigits) {
    JsonWriter writer;
    writer.BeginArray();
    writer.Single(0.3F);
    writer.Single(800.0F);
    writer.Single(1.0e-8F);
    writer.Single(-0.0F);
    writer.Single(0.123456789F);
    writer.EndArray();
    EXPECT_EQ(writer.Text(), "[0.3,800.0,1e-08,-0.0,0.12345679]");
    // The digits read back to the same 32-bit value.
    const auto values = nlohmann::json::parse(writer.Text());
    EXPECT_EQ(static_cast<float>(values[4].get<double>()), 0.123456789F);
}

// The fast shortest text of a float is, character for character, the general conversion's:
// for the first and last mantissas of every exponent (powers of two, where the interval is
// lopsided, included) and a million others, both signs, and the values it leaves to it.
TEST(JsonWriter, FastFloatTextIsTheGeneralConversions) {
    std::mt19937 random(16);
    std::vector<std::uint32_t> patterns;
    for (std::uint32_t exponent = 0; exponent < 256; ++exponent) {
        for (std::uint32_t fraction : {0U, 1U, 2U, 3U, 0x400000U, 0x7FFFFEU, 0x7FFFFFU}) {
            patterns.push_back(exponent << 23 | fraction);
        }
    }
    for (int k = 0; k < 1000000; ++k) {
        patterns.push_back(static_cast<std::uint32_t>(random()));
    }
    for (const std::uint32_t bits : patterns) {
        for (const std::uint32_t sign : {0U, 0x80000000U}) {
            const float value = std::bit_cast<float>(bits | sign);
            char general[32];
            char fast[32];
            const std::string_view expected(general,
                                            std::to_chars(general, general + 32, value).ptr);
            const std::string_view written(fast, WriteShortestFloat(fast, value));
            ASSERT_EQ(written, expected) << std::hex << (bits | sign);
        }
    }
}

TEST(JsonWriter, ValuesThatAreNotFiniteAreNull) {
    JsonWriter writer;
    writer.BeginArray();
    writer.Single(std::numeric_limits<float>::quiet_NaN());
    writer.Single(-std::numeric_limits<float>::infinity());
    writer.Double(std::numeric_limits<double>::quiet_NaN());
    writer.Double(std::numeric_limits<double>::infinity());
    writer.Double(0.9999999);
    writer.Double(2.0);
    writer.EndArray();
    EXPECT_EQ(writer.Text(), "[null,null,null,null,0.9999999,2.0]");
}

TEST(JsonWriter, NestedMembersAndEscapedTextParseBack) {
    JsonWriter writer;
    writer.BeginObject();
    writer.Member("a", 1);
    writer.Key("b");
    writer.BeginObject();
    writer.Member("c", true);
    writer.Key("d");
    writer.BeginArray();
    writer.EndArray();
    writer.Key("e");
    writer.Null();
    writer.EndObject();
    writer.Member("quote \"q\"", "tab\tline\nback\\slash\x01");
    writer.EndObject();
    EXPECT_EQ(writer.Text(), R"({"a":1,"b":{"c":true,"d":[],"e":null},)"
                             R"("quote \"q\"":"tab\tline\nback\\slash\u0001"})");
    const auto parsed = nlohmann::json::parse(writer.Text());
    EXPECT_EQ(parsed["quote \"q\""], "tab\tline\nback\\slash\x01");
}

} // namespace
} // namespace quorvane
