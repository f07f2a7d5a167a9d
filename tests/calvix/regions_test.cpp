// Region assignment of (T, p) states, the saturation line and the B23 corners.

#include "calvix/constants.h"
#include "calvix/region_tp.h"
#include "calvix/saturation.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace calvix {
namespace {

TEST(RegionOfTp, UpperTemperatureOfRegions1To3IsInclusive) {
    EXPECT_EQ(RegionOfTp(1073.15, 50), kRegion2);
    EXPECT_EQ(RegionOfTp(1073.16, 50), kErrorCode); // region 5 only up to 10 MPa
    EXPECT_EQ(RegionOfTp(1073.16, 10), kRegion5);
}

TEST(RegionOfTp, Region5Corners) {
    EXPECT_EQ(RegionOfTp(2273.15, 10), kRegion5);
    EXPECT_EQ(RegionOfTp(2273.16, 10), kErrorCode);
    EXPECT_EQ(RegionOfTp(2000, 10.000001), kErrorCode);
    EXPECT_EQ(RegionOfTp(2000, 0), kErrorCode);
}

TEST(RegionOfTp, PressureAndTemperatureLimits) {
    EXPECT_EQ(RegionOfTp(273.15, 100), kRegion1);
    EXPECT_EQ(RegionOfTp(273.149, 1), kErrorCode);
    EXPECT_EQ(RegionOfTp(300, 100.000001), kErrorCode);
    EXPECT_EQ(RegionOfTp(300, 0), kErrorCode);
    EXPECT_EQ(RegionOfTp(300, -1), kErrorCode);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(RegionOfTp(nan, 1), kErrorCode);
    EXPECT_EQ(RegionOfTp(300, nan), kErrorCode);
}

TEST(RegionOfTp, Region3AgainstB23) {
    EXPECT_NEAR(B23Pressure(650), 20.034, 0.001);
    EXPECT_EQ(RegionOfTp(650, 30), kRegion3);
    EXPECT_EQ(RegionOfTp(650, 20), kRegion2);
    EXPECT_EQ(RegionOfTp(623.15, 50), kRegion1); // 623.15 K itself belongs to region 1
    EXPECT_EQ(RegionOfTp(623.16, 50), kRegion3);
    EXPECT_EQ(RegionOfTp(863.14, 100), kRegion3);
    EXPECT_EQ(RegionOfTp(863.16, 100), kRegion2);
}

TEST(RegionOfTp, SaturationLineOnlyOnExactEquality) {
    for (double t : {300.0, 500.0, 623.15}) {
        SCOPED_TRACE(t);
        const double ps = SaturationPressure(t);
        EXPECT_EQ(RegionOfTp(t, ps), kRegion4);
        EXPECT_EQ(RegionOfTp(t, std::nextafter(ps, 0.0)), kRegion2);
        EXPECT_EQ(RegionOfTp(t, std::nextafter(ps, 1e9)), kRegion1);
    }
    // Above 623.15 K both sides of the line lie in region 3 (p23(T) < psat(T) there).
    const double ps640 = SaturationPressure(640);
    EXPECT_LT(B23Pressure(640), ps640);
    EXPECT_EQ(RegionOfTp(640, ps640), kRegion4);
    EXPECT_EQ(RegionOfTp(640, std::nextafter(ps640, 0.0)), kRegion3);
    EXPECT_EQ(RegionOfTp(640, std::nextafter(ps640, 1e9)), kRegion3);
}

TEST(SaturationLine, WorkedValues) {
    EXPECT_NEAR(SaturationPressure(300), 0.00353658941, 5e-12);
    EXPECT_NEAR(SaturationTemperature(0.1), 372.755919, 5e-7);
    EXPECT_NEAR(SaturationPressure(kCriticalTemp), kCriticalPress, 1e-6);
    EXPECT_NEAR(SaturationTemperature(kCriticalPress), kCriticalTemp, 1e-5);
    EXPECT_TRUE(std::isnan(SaturationPressure(650.17534844798))); // the pole n₁₀
}

TEST(SaturationLine, TemperatureEquationInvertsPressureEquation) {
    for (double t = 273.15; t <= 647.0; t += 7.3) {
        EXPECT_NEAR(SaturationTemperature(SaturationPressure(t)), t, 1e-9 * t) << t;
    }
}

TEST(B23, CornersOfRegion3) {
    EXPECT_NEAR(B23Pressure(623.15), 16.5291643, 5e-8);
    EXPECT_NEAR(B23Temperature(100), 863.15, 1e-6);
    for (double t : {623.15, 700.0, 863.15}) {
        EXPECT_NEAR(B23Temperature(B23Pressure(t)), t, 1e-8 * t);
    }
}

} // namespace
} // namespace calvix
