// The exported interface: version, unit codes and conversions, inclusive and exclusive
// bounds of every export, wetness against dryness, and the failure values.

#include "calvix/calvix.h"
#include "tests/calvix/calvix_units_fixture.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

namespace calvix::test {
namespace {

constexpr double kError = -99999.999;

// Published values used below: region 1 at (300 K, 3 MPa), R7-97 Table 5.
constexpr double kV300 = 0.00100215168; // m³/kg
constexpr double kH300 = 115.331273;    // kJ/kg
constexpr double kCp300 = 4.17301218;   // kJ/(kg K)
constexpr double kW300 = 1507.73921;    // m/s

using Exports = CalvixExports;

TEST_F(Exports, VersionTokens) {
    EXPECT_EQ(STM_GetDllVer(1), 2);
    EXPECT_EQ(STM_GetDllVer(2), 2);
    EXPECT_EQ(STM_GetDllVer(3), 0);
    EXPECT_EQ(STM_GetDllVer(4), 0);
    // A part outside 1 to 4 counts as 1.
    EXPECT_EQ(STM_GetDllVer(0), STM_GetDllVer(1));
    EXPECT_EQ(STM_GetDllVer(5), STM_GetDllVer(1));
    EXPECT_EQ(STM_GetDllVer(-7), STM_GetDllVer(1));
}

struct Setter {
    std::int32_t (*set)(std::int32_t);
    std::int32_t first;
    std::int32_t last;
    std::int32_t initial;
};

TEST_F(Exports, SettingFunctionsAcceptExactlyTheirRanges) {
    const Setter setters[] = {
        {STM_SetTempUnit, 1, 3, 1},       {STM_SetPressUnit, 11, 21, 12},
        {STM_SetEnthalUnit, 31, 33, 32},  {STM_SetEntroUnit, 51, 53, 52},
        {STM_SetDensityUnit, 71, 72, 71}, {STM_SetWetDryUnit, 91, 92, 91},
        {STM_SetHCUnit, 101, 103, 102},
    };
    for (const Setter& s : setters) {
        SCOPED_TRACE(s.first);
        EXPECT_EQ(s.set(s.first - 1), 0);
        EXPECT_EQ(s.set(s.last + 1), 0);
        EXPECT_EQ(s.set(s.first), 1);
        EXPECT_EQ(s.set(s.last), 1);
        EXPECT_EQ(s.set(s.initial), 1);
    }
}

TEST_F(Exports, RefusedPressureCodeKeepsTheSetting) {
    ASSERT_EQ(STM_SetPressUnit(17), 1); // atm
    EXPECT_EQ(STM_SetPressUnit(10), 0);
    EXPECT_EQ(STM_SetPressUnit(22), 0);
    EXPECT_NEAR(STM_GetMaxPress(), 100e6 / 101325.0, 1e-9);
}

TEST_F(Exports, LimitsInTheCallersUnits) {
    EXPECT_DOUBLE_EQ(STM_GetMaxTemp(), 2273.15);
    EXPECT_DOUBLE_EQ(STM_GetMinTemp(), 273.15);
    EXPECT_DOUBLE_EQ(STM_GetMaxPress(), 100.0);
    EXPECT_DOUBLE_EQ(STM_GetMinPress(), 0.0);
    STM_SetTempUnit(2);
    EXPECT_NEAR(STM_GetMaxTemp(), 2000.0, 1e-9);
    EXPECT_NEAR(STM_GetMinTemp(), 0.0, 1e-12);
    STM_SetTempUnit(3);
    EXPECT_NEAR(STM_GetMaxTemp(), 3632.0, 1e-9);
    EXPECT_NEAR(STM_GetMinTemp(), 32.0, 1e-9);
}

TEST_F(Exports, GaugeCodesGiveANegativeMinimumPressure) {
    const struct {
        std::int32_t code;
        double minimum;
    } gauges[] = {{14, -0.101325 * 100 / 9.80665},
                  {16, -760.0},
                  {18, -1.0},
                  {20, -101325.0},
                  {21, -0.101325}};
    for (const auto& g : gauges) {
        SCOPED_TRACE(g.code);
        ASSERT_EQ(STM_SetPressUnit(g.code), 1);
        EXPECT_NEAR(STM_GetMinPress(), g.minimum, 1e-9 * std::fabs(g.minimum));
        EXPECT_NEAR(STM_GetMaxPress() - STM_GetMinPress(), STM_GetMaxPress() - g.minimum, 1e-6);
    }
    for (std::int32_t code : {11, 12, 13, 15, 17, 19}) {
        STM_SetPressUnit(code);
        EXPECT_EQ(STM_GetMinPress(), 0.0) << code;
    }
}

TEST_F(Exports, GaugeMinimumPressureIsZeroAbsoluteAndRefused) {
    for (std::int32_t code : {16, 18, 20, 21}) {
        SCOPED_TRACE(code);
        STM_SetPressUnit(code);
        const double pMin = STM_GetMinPress();
        EXPECT_EQ(STM_nTps(pMin, 1.0), kError);
        EXPECT_EQ(STM_nTph(pMin, 100.0), kError);
        EXPECT_EQ(STM_IsSat_ps(pMin, 1.0), 0);
        EXPECT_EQ(STM_IsSat_ph(pMin, 100.0), 0);
        EXPECT_EQ(STM_nHtp(300.0, pMin), kError);
        EXPECT_EQ(STM_sTp(pMin), kError);
    }
}

TEST_F(Exports, ConversionsOfInputsAndResults) {
    EXPECT_NEAR(STM_nHtp(300, 3), kH300, 5e-7);
    STM_SetTempUnit(2);
    EXPECT_NEAR(STM_nHtp(26.85, 3), kH300, 5e-7);
    STM_SetTempUnit(3);
    EXPECT_NEAR(STM_nHtp(300 * 1.8 - 459.67, 3), kH300, 5e-7);
    STM_SetTempUnit(1);
    const struct {
        std::int32_t code;
        double value; // 3 MPa in that unit
    } pressures[] = {{11, 3e6},
                     {13, 3.0 * 100 / 9.80665},
                     {14, (3.0 - 0.101325) * 100 / 9.80665},
                     {15, 3e6 * 760 / 101325},
                     {16, 3e6 * 760 / 101325 - 760},
                     {17, 3e6 / 101325},
                     {18, 3e6 / 101325 - 1},
                     {19, 30000},
                     {20, 3e6 - 101325},
                     {21, 3.0 - 0.101325}};
    for (const auto& pr : pressures) {
        STM_SetPressUnit(pr.code);
        EXPECT_NEAR(STM_nHtp(300, pr.value), kH300, 5e-7) << pr.code;
    }
    STM_SetPressUnit(12);
    STM_SetEnthalUnit(31);
    EXPECT_NEAR(STM_nHtp(300, 3), kH300 * 1000, 5e-4);
    STM_SetEnthalUnit(33);
    EXPECT_NEAR(STM_nHtp(300, 3), kH300 / 4.1868, 5e-7);
    STM_SetHCUnit(101);
    EXPECT_NEAR(STM_nCPtp(300, 3), kCp300 * 1000, 5e-5);
    STM_SetHCUnit(103);
    EXPECT_NEAR(STM_nCPtp(300, 3), kCp300 / 4.1868, 5e-9);
    STM_SetEntroUnit(51);
    EXPECT_NEAR(STM_nStp(300, 3), 392.294792, 5e-6);
    EXPECT_NEAR(STM_nDtp(300, 3), kV300, 5e-12);
    STM_SetDensityUnit(72);
    EXPECT_NEAR(STM_nDtp(300, 3), 1.0 / kV300, 5e-6);
    // Speed of sound and isentropic exponent carry no unit.
    STM_SetTempUnit(2);
    EXPECT_NEAR(STM_nWtp(26.85, 3), kW300, 5e-5);
}

TEST_F(Exports, ErrorValueIsNeverConverted) {
    STM_SetTempUnit(3);
    STM_SetEnthalUnit(31);
    STM_SetDensityUnit(71);
    EXPECT_EQ(STM_nHtp(5000, 3), kError);
    EXPECT_EQ(STM_nDtp(5000, 3), kError);
    EXPECT_EQ(STM_GetMinPress(), 0.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(STM_nHtp(nan, 3), kError);
    EXPECT_EQ(STM_sPt(nan), kError);
    EXPECT_EQ(STM_nTph(3, nan), kError);
    EXPECT_EQ(STM_IsSat_ph(nan, 100), 0);
}

TEST_F(Exports, SaturationPressureBoundsAreInclusive) {
    // Inclusive, and a value within 1e-9 of a limit (rounding) counts as the limit.
    EXPECT_NEAR(STM_sPt(647.096), 22.064, 1e-6);
    EXPECT_EQ(STM_sPt(647.0960001), STM_sPt(647.096));
    EXPECT_EQ(STM_sPt(647.09601), kError);
    EXPECT_GT(STM_sPt(273.15), 0.0);
    EXPECT_EQ(STM_sPt(273.1499), kError);
    EXPECT_NEAR(STM_sPt(300), 0.00353658941, 5e-12);
}

TEST_F(Exports, WetSteamFunctionsOfTemperatureExcludeTheCriticalPoint) {
    EXPECT_EQ(STM_sRt(647.096), kError);
    EXPECT_EQ(STM_sHtx(647.096, 0.5), kError);
    EXPECT_EQ(STM_sDtx(647.096, 0.5), kError);
    EXPECT_EQ(STM_sStx(647.096, 0.5), kError);
    EXPECT_GT(STM_sRt(647.0), 0.0);
    EXPECT_GT(STM_sHtx(647.0, 0.5), 0.0);
    EXPECT_GT(STM_sDtx(647.0, 0.5), 0.0);
    EXPECT_GT(STM_sStx(647.0, 0.5), 0.0);
    EXPECT_EQ(STM_sRt(273.1499), kError);
    EXPECT_GT(STM_sRt(273.15), 0.0);
}

TEST_F(Exports, SaturationTemperatureBoundsAreInclusive) {
    EXPECT_NEAR(STM_sTp(22.064), 647.096, 1e-5);
    EXPECT_EQ(STM_sTp(22.0641), kError);
    const double pLow = STM_sPt(273.15);
    EXPECT_NEAR(STM_sTp(pLow), 273.15, 1e-9);
    EXPECT_EQ(STM_sTp(pLow * 0.9999), kError);
    EXPECT_NEAR(STM_sTp(0.1), 372.755919, 5e-7);
}

TEST_F(Exports, RawWetnessArgumentMustLieInZeroToOne) {
    EXPECT_EQ(STM_sHtx(400, -0.01), kError);
    EXPECT_EQ(STM_sHtx(400, 1.01), kError);
    EXPECT_EQ(STM_sStx(400, 1.0000001), kError);
    EXPECT_EQ(STM_sDtx(400, -1e-12), kError);
}

TEST_F(Exports, WetnessAndDrynessCodesAreMirrorImages) {
    const double t = 450.0;
    const double hVapour = STM_nHtp(t, STM_sPt(t)); // exactly on the line: saturated vapour
    const double hLiquid = hVapour - STM_sRt(t);
    // Code 91: x is the wetness.
    EXPECT_NEAR(STM_sHtx(t, 0.0), hVapour, 1e-9);
    EXPECT_NEAR(STM_sHtx(t, 1.0), hLiquid, 1e-9);
    STM_SetWetDryUnit(92); // x is the dryness
    EXPECT_NEAR(STM_sHtx(t, 1.0), hVapour, 1e-9);
    EXPECT_NEAR(STM_sHtx(t, 0.0), hLiquid, 1e-9);
    EXPECT_NEAR(STM_sHtx(t, 0.25), 0.75 * hLiquid + 0.25 * hVapour, 1e-9);
    // The (p, h) inverse answers in the same code.
    const double p = STM_sPt(t);
    EXPECT_NEAR(STM_sXph(p, 0.75 * hLiquid + 0.25 * hVapour), 0.25, 1e-12);
    STM_SetWetDryUnit(91);
    EXPECT_NEAR(STM_sXph(p, 0.75 * hLiquid + 0.25 * hVapour), 0.75, 1e-12);
}

TEST_F(Exports, StateExactlyOnTheSaturationLineIsSaturatedVapour) {
    // Up to 623.15 K from region 2; above it from region 3 at the saturated vapour density.
    for (double t : {300.0, 450.0, 623.15, 630.0, 640.0, 647.0}) {
        SCOPED_TRACE(t);
        const double ps = STM_sPt(t);
        EXPECT_EQ(STM_nHtp(t, ps), STM_sHtx(t, 0.0));
        EXPECT_EQ(STM_nStp(t, ps), STM_sStx(t, 0.0));
        EXPECT_EQ(STM_nDtp(t, ps), STM_sDtx(t, 0.0));
        EXPECT_LT(STM_nHtp(t, std::nextafter(ps, 1e9)), STM_sHtx(t, 0.5));
    }
}

TEST_F(Exports, WetSteamVolumeMixesByMass) {
    const double t = 400.0;
    const double vLiquid = STM_sDtx(t, 1.0);
    const double vVapour = STM_sDtx(t, 0.0);
    EXPECT_NEAR(STM_sDtx(t, 0.3), 0.3 * vLiquid + 0.7 * vVapour, 1e-12 * vVapour);
    STM_SetDensityUnit(72);
    EXPECT_NEAR(STM_sDtx(t, 0.3), 1.0 / (0.3 * vLiquid + 0.7 * vVapour), 1e-9);
}

TEST_F(Exports, WetSteamFromPressureAndEntropy) {
    const double t = 500.0;
    const double p = STM_sPt(t);
    const double s = STM_sStx(t, 0.4);
    EXPECT_NEAR(STM_sXps(p, s), 0.4, 1e-9);
    EXPECT_NEAR(STM_sHps(p, s), STM_sHtx(t, 0.4), 1e-6);
    EXPECT_EQ(STM_IsSat_ps(p, s), 1);
    EXPECT_EQ(STM_IsSat_ph(p, STM_sHtx(t, 0.4)), 1);
    // Outside the wet range on either side.
    EXPECT_EQ(STM_sXps(p, STM_sStx(t, 0.0) + 0.01), kError);
    EXPECT_EQ(STM_sXps(p, STM_sStx(t, 1.0) - 0.01), kError);
    EXPECT_EQ(STM_IsSat_ps(p, STM_sStx(t, 0.0) + 0.01), 0);
    // Near the critical point the saturated states come from region 3.
    const double tHot = 640.0;
    const double pHot = STM_sPt(tHot);
    EXPECT_NEAR(STM_sXph(pHot, STM_sHtx(tHot, 0.5)), 0.5, 1e-6);
    EXPECT_EQ(STM_IsSat_ph(pHot, STM_sHtx(tHot, 0.5)), 1);
    EXPECT_NEAR(STM_sTp(pHot), tHot, 1e-9);
}

TEST_F(Exports, WetSteamFunctionsOfPressureBounds) {
    // psat(273.15 K) ≤ p ≤ 22.064 MPa, both ends inclusive.
    const double pLow = STM_sPt(273.15);
    EXPECT_NE(STM_sXph(pLow, 1000.0), kError);
    EXPECT_NE(STM_sXps(pLow, 4.0), kError);
    EXPECT_NE(STM_sHps(pLow, 4.0), kError);
    EXPECT_EQ(STM_sXph(pLow * 0.9999, 1000.0), kError);
    EXPECT_EQ(STM_sXps(pLow * 0.9999, 4.0), kError);
    EXPECT_NEAR(STM_sXph(22.064, 2087.5), 0.49, 0.01); // the narrow wet range at pc
    EXPECT_EQ(STM_sXph(22.0641, 2087.5), kError);
    EXPECT_EQ(STM_sHps(22.0641, 4.4), kError);
    // Just above 273.15 K the saturated liquid has h' < 0 and s' < 0: a slightly negative
    // value is wet steam there; below h' (beyond rounding) it is refused.
    EXPECT_NEAR(STM_sXph(pLow, -1e-9), 1.0, 1e-4);
    EXPECT_NEAR(STM_sXps(pLow, -1e-9), 1.0, 1e-4);
    EXPECT_EQ(STM_sXph(pLow, STM_sHtx(273.15, 1.0) - 1e-3), kError);
    EXPECT_EQ(STM_sXps(pLow, STM_sStx(273.15, 1.0) - 1e-6), kError);
}

// A value the program displayed at a limit, rounded to ten significant digits and typed back,
// is the limit; a little further out it is still refused.
TEST_F(Exports, ValuesRoundedAtALimitAreTheLimit) {
    // Half a unit in the tenth significant digit added: the worst rounding of a display.
    const auto roundedUp = [](double v) {
        return v + 0.5 * std::pow(10.0, std::floor(std::log10(std::fabs(v))) - 9.0);
    };
    for (const double p : {10.0, 20.0, 50.0, 99.0}) {
        SCOPED_TRACE(p);
        const double h = STM_nHtp(1073.15, p);
        const double s = STM_nStp(1073.15, p);
        // Found by the backward equations (within 25 mK), never above the range.
        const double th = STM_nTph(p, roundedUp(h));
        const double ts = STM_nTps(p, roundedUp(s));
        EXPECT_NEAR(th, 1073.15, 0.025);
        EXPECT_NEAR(ts, 1073.15, 0.025);
        EXPECT_LE(th, 1073.15);
        EXPECT_LE(ts, 1073.15);
        EXPECT_EQ(STM_nTph(p, h * (1.0 + 1e-8)), kError);
    }
    // The ends of the temperature range displayed in °F come back a hair outside in K.
    STM_SetTempUnit(3);
    EXPECT_NE(STM_nHtp(1073.15 * 1.8 - 459.67, 50.0), kError);
    EXPECT_NE(STM_nHtp(2273.15 * 1.8 - 459.67, 10.0), kError);
    EXPECT_NE(STM_nHtp(32.0, 1.0), kError);
    EXPECT_NE(STM_sHtx(32.0, 0.0), kError);
    EXPECT_NEAR(STM_nHtp(roundedUp(1472.0), 50.0), STM_nHtp(1472.0, 50.0), 1e-6);
    EXPECT_EQ(STM_nHtp(1472.01, 50.0), kError);
    STM_SetTempUnit(1);
    EXPECT_NE(STM_nHtp(1073.15, roundedUp(100.0)), kError);
}

TEST_F(Exports, InverseFunctionsWorkInTheCallersUnits) {
    // T(p, h) at 3 MPa, 500 kJ/kg is 391.798509 K (R7-97 Table 7), asked in °F, atm gauge
    // and kcal/kg.
    STM_SetTempUnit(3);
    STM_SetPressUnit(18);
    STM_SetEnthalUnit(33);
    const double pAtmGauge = 3e6 / 101325.0 - 1.0;
    EXPECT_NEAR(STM_nTph(pAtmGauge, 500.0 / 4.1868), 391.798509 * 1.8 - 459.67, 1e-6);
    // T(p, s) at 3 MPa, 0.5 kJ/(kg K) is 307.842258 K (Table 9), asked in °C and J/(kg K).
    STM_SetTempUnit(2);
    STM_SetEntroUnit(51);
    EXPECT_NEAR(STM_nTps(pAtmGauge, 500.0), 307.842258 - 273.15, 1e-6);
}

TEST_F(Exports, OpenAndClosedPressureLimitOfTheInverseFunctions) {
    // nTps and the two-phase tests refuse 100 MPa; nTph accepts it.
    EXPECT_EQ(STM_nTps(100.0, 1.0), kError);
    EXPECT_EQ(STM_IsSat_ps(100.0, 1.0), 0);
    EXPECT_EQ(STM_IsSat_ph(100.0, 500.0), 0);
    EXPECT_NEAR(STM_nTph(100.0, 1500.0), 611.358, 0.01);
    EXPECT_GT(STM_nTps(99.999, 1.0), 0.0);
    EXPECT_EQ(STM_nTph(100.0001, 1500.0), kError);
    EXPECT_EQ(STM_nTps(3.0, -0.001), kError);
    EXPECT_EQ(STM_nTps(0.0, 1.0), kError);
}

TEST_F(Exports, BelowTheLowestSaturationPressureThereIsOnlyVapour) {
    // Under psat(273.15 K) the saturation temperature lies below the formulation's range:
    // no wet or liquid states, and region 2 starts at 273.15 K. T(p, h) comes from the
    // backward equation (within its 25 mK); T(p, s) from bisection on region 2, since the
    // backward equation of subregion 2a is off by a kelvin at 100 Pa and more below.
    const double pLow = STM_sPt(273.15);
    for (double p : {0.0005, 0.0003, 1e-4, 1e-5}) {
        SCOPED_TRACE(p);
        const double hMin = STM_nHtp(273.15, p);
        const double sMin = STM_nStp(273.15, p);
        EXPECT_EQ(STM_nTph(p, 1000.0), kError); // was taken as wet at Tsat(p) < 273.15 K
        EXPECT_EQ(STM_nTps(p, 5.0), kError);
        EXPECT_EQ(STM_nTph(p, hMin - 0.01), kError);
        EXPECT_EQ(STM_nTps(p, sMin - 1e-4), kError);
        EXPECT_EQ(STM_IsSat_ph(p, 1000.0), 0);
        EXPECT_EQ(STM_IsSat_ps(p, 5.0), 0);
        EXPECT_NEAR(STM_nTph(p, hMin), 273.15, 0.025);
        for (double t : {273.15, 300.0, 700.0}) {
            EXPECT_NEAR(STM_nTph(p, STM_nHtp(t, p)), t, 0.025) << t;
            // Bisection to 1e-5 kJ/(kg K): within 1e-5·T/cp, cp ≈ 1.9 kJ/(kg K).
            EXPECT_NEAR(STM_nTps(p, STM_nStp(t, p)), t, 1e-5 * t / 1.8) << t;
        }
    }
    // psat(273.15 K) itself still has its wet states.
    EXPECT_EQ(STM_IsSat_ph(pLow, 1000.0), 1);
    EXPECT_NEAR(STM_nTph(pLow, 1000.0), 273.15, 1e-9);
}

TEST_F(Exports, SingleStateBoundsFollowTheRegions) {
    EXPECT_GT(STM_nHtp(1073.15, 50), 0.0);
    EXPECT_EQ(STM_nHtp(1073.16, 50), kError);
    EXPECT_GT(STM_nHtp(2273.15, 10), 0.0);
    EXPECT_EQ(STM_nHtp(2273.16, 10), kError);
    EXPECT_EQ(STM_nHtp(1500, 10.0001), kError);
    EXPECT_GT(STM_nHtp(273.15, 100), 0.0);
    EXPECT_EQ(STM_nHtp(273.14, 1), kError);
    EXPECT_EQ(STM_nHtp(300, 100.0001), kError);
}

TEST_F(Exports, IsentropicExponentIsSpeedSquaredOverPressureTimesVolume) {
    const double states[][2] = {{300, 3}, {700, 30}, {650, 30}, {1500, 0.5}};
    for (const auto& st : states) {
        const double w = STM_nWtp(st[0], st[1]);
        const double v = STM_nDtp(st[0], st[1]);
        const double kappa = w * w / (st[1] * 1e6 * v);
        // Region 3 answers at its found density, whose pressure meets p to 1e-5 MPa.
        EXPECT_NEAR(STM_nKtp(st[0], st[1]), kappa, 1e-6 * kappa) << st[0];
    }
}

} // namespace
} // namespace calvix::test
