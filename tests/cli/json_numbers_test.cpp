#include "cli/json_numbers.h"

#include <gtest/gtest.h>
#include <limits>

namespace quorvane {
namespace {

TEST(JsonNumbers, SinglePrecisionResultsUseTheirShortestDigits) {
    EXPECT_EQ(SingleNumber(0.3F).dump(), "0.3");
    EXPECT_EQ(SingleNumber(800.0F).dump(), "800.0");
    EXPECT_EQ(SingleNumber(1.0e-8F).dump(), "1e-08");
    // The digits read back to the same 32-bit value.
    const float value = 0.123456789F;
    EXPECT_EQ(static_cast<float>(SingleNumber(value).get<double>()), value);
}

TEST(JsonNumbers, ValuesThatAreNotFiniteBecomeNull) {
    EXPECT_TRUE(SingleNumber(std::numeric_limits<float>::quiet_NaN()).is_null());
    EXPECT_TRUE(SingleNumber(std::numeric_limits<float>::infinity()).is_null());
    EXPECT_TRUE(DoubleNumber(std::numeric_limits<double>::quiet_NaN()).is_null());
    EXPECT_TRUE(DoubleNumber(-std::numeric_limits<double>::infinity()).is_null());
    EXPECT_EQ(DoubleNumber(0.9999999).dump(), "0.9999999");
}

} // namespace
} // namespace quorvane
