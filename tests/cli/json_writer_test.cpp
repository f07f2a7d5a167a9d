#include "cli/json_writer.h"

#include <gtest/gtest.h>
#include <limits>
#include <nlohmann/json.hpp>

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
