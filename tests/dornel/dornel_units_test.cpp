// Every unit code of every quantity: the setters' accepted codes, the conversion factors, and
// round trips through the exports (a value out in one code and back in the same code).

#include "tests/dornel/dornel_fixture.h"

#include <cmath>

namespace dornel_test {
namespace {

class DornelUnits : public DornelTest {};

TEST_F(DornelUnits, SettersAcceptExactlyTheirCodes) {
    struct Setter {
        int (*set)(int);
        int low, high, fallback;
    };
    const Setter setters[] = {
        {STM_SetTempUnit, 1, 3, 2},          {STM_SetPressUnit, 11, 19, 11},
        {STM_SetEntlUnit, 21, 23, 22},       {STM_SetEntrUnit, 31, 33, 32},
        {STM_SetVolUnit, 41, 42, 42},        {STM_SetWetDryUnit, 51, 52, 51},
        {STM_SetHeatCapUnit, 61, 63, 62},    {STM_SetThermalConUnit, 71, 72, 72},
        {STM_SetDynamicVisUnit, 81, 83, 83}, {STM_SetSurTensionUnit, 91, 93, 91}};
    for (const Setter& s : setters) {
        for (int code = s.low; code <= s.high; ++code) {
            EXPECT_EQ(s.set(code), 1) << code;
        }
        EXPECT_EQ(s.set(s.low - 1), 0) << s.low - 1;
        EXPECT_EQ(s.set(s.high + 1), 0) << s.high + 1;
        EXPECT_EQ(s.set(0), 0);
        EXPECT_EQ(s.set(-1), 0);
        s.set(s.fallback);
    }
    EXPECT_EQ(STM_SetPressUnit(1001), 1);
}

TEST_F(DornelUnits, TemperatureCodes) {
    struct Code {
        int code;
        double t;    // 150 °C in this unit
        double tMin; // 0 °C
        double tMax; // 800 °C
    };
    const Code codes[] = {
        {1, 423.15, 273.15, 1073.15}, {2, 150.0, 0.0, 800.0}, {3, 302.0, 32.0, 1472.0}};
    STM_SetTempUnit(2);
    const double pSat = STM_kPt(150.0);
    for (const Code& c : codes) {
        ASSERT_EQ(STM_SetTempUnit(c.code), 1);
        EXPECT_NEAR(STM_kPt(c.t), pSat, 1e-9 * pSat) << c.code;
        EXPECT_NEAR(STM_kTp(pSat), c.t, 1e-9 * c.t) << c.code;
        EXPECT_NEAR(STM_GetMinTemp(), c.tMin, 1e-10 * c.tMax) << c.code;
        EXPECT_NEAR(STM_GetMaxTemp(), c.tMax, 1e-10 * c.tMax) << c.code;
        // (p, s) and (p, h) back to the temperature in the same unit.
        EXPECT_NEAR(STM_nTsp(1e5, STM_nStp(c.t, 1e5)), c.t, 1e-9 * c.t) << c.code;
        EXPECT_NEAR(STM_2Tep(1e5, STM_nEtp(c.t, 1e5)), c.t, 1e-9 * c.t) << c.code;
    }
}

TEST_F(DornelUnits, PressureCodes) {
    constexpr double pa = 1.0e6; // a pressure to express in every unit
    struct Code {
        int code;
        double value; // pa in this unit
    };
    const Code codes[] = {{11, pa},
                          {12, pa / 98066.5},
                          {13, (pa - 101325.0) / 98066.5},
                          {14, pa / (101325.0 / 760.0)},
                          {15, pa / (101325.0 / 760.0) - 760.0},
                          {16, pa / 101325.0},
                          {17, pa / 101325.0 - 1.0},
                          {18, pa / (101325.0 / 760.0)},
                          {19, pa / 100.0},
                          {1001, pa / 1e6}};
    const double tSat = STM_kTp(pa);
    const double h = STM_nEtp(250.0, pa);
    for (const Code& c : codes) {
        ASSERT_EQ(STM_SetPressUnit(c.code), 1);
        EXPECT_NEAR(STM_kTp(c.value), tSat, 1e-10 * tSat) << c.code;
        EXPECT_NEAR(STM_nEtp(250.0, c.value), h, 1e-10 * h) << c.code;
        const double out = STM_kPt(tSat);
        EXPECT_NEAR(out, c.value, 1e-9 * std::fabs(c.value) + 1e-12) << c.code;
        EXPECT_NEAR(STM_kPt(STM_kTp(c.value)), c.value, 1e-9 * std::fabs(c.value)) << c.code;
        const bool gauge = c.code == 13 || c.code == 15 || c.code == 17;
        if (!gauge) {
            EXPECT_NEAR(STM_GetMaxPress() / STM_kPt(tSat), 100e6 / pa, 1e-9) << c.code;
        }
    }
    // The stored output factors per Pa.
    STM_SetPressUnit(12);
    EXPECT_DOUBLE_EQ(STM_GetMaxPress(), 100e6 * 1.0197162129779284e-5);
    STM_SetPressUnit(14);
    EXPECT_DOUBLE_EQ(STM_GetMaxPress(), 100e6 * 0.007500616827041698);
    STM_SetPressUnit(16);
    EXPECT_DOUBLE_EQ(STM_GetMaxPress(), 100e6 * 9.869232667160129e-6);
}

// The range limits as reported in each unit are accepted when typed back; a little beyond is not.
TEST_F(DornelUnits, ReportedLimitsAreAcceptedInEveryUnit) {
    for (int code = 1; code <= 3; ++code) {
        ASSERT_EQ(STM_SetTempUnit(code), 1);
        const double tMax = STM_GetMaxTemp();
        const double tMin = STM_GetMinTemp();
        EXPECT_NE(STM_nEtp(tMax, 1e5), kError) << code;
        EXPECT_NE(STM_nEtp(tMin, 1e5), kError) << code;
        EXPECT_NE(STM_kPt(tMin), kError) << code;
        EXPECT_NE(STM_SurfaceTension(tMin), kError) << code;
        EXPECT_EQ(STM_nEtp(tMax + 0.001, 1e5), kError) << code;
        EXPECT_EQ(STM_nEtp(tMin - 0.001, 1e5), kError) << code;
        EXPECT_EQ(STM_kPt(tMin - 0.001), kError) << code;
    }
    STM_SetTempUnit(2);
    EXPECT_NE(STM_kTp(STM_kPt(0.0)), kError); // the lowest saturation pressure
    for (const int code : {11, 12, 13, 14, 15, 16, 17, 18, 19, 1001}) {
        ASSERT_EQ(STM_SetPressUnit(code), 1);
        const double pMax = STM_GetMaxPress();
        const double pMin = STM_GetMinPress();
        EXPECT_NE(STM_nEtp(300.0, pMax), kError) << code;
        EXPECT_NE(STM_nEtp(300.0, pMin), kError) << code;
        EXPECT_EQ(STM_nEtp(300.0, pMax + 1e-6 * std::fabs(pMax)), kError) << code;
    }
}

TEST_F(DornelUnits, EnthalpyCodes) {
    const double hJ = STM_nEtp(300.0, 2e6);
    const double factors[] = {1.0 / 4186.8, 1.0, 1.0 / 3600.0};
    for (int code = 21; code <= 23; ++code) {
        ASSERT_EQ(STM_SetEntlUnit(code), 1);
        const double h = STM_nEtp(300.0, 2e6);
        EXPECT_NEAR(h, hJ * factors[code - 21], 1e-12 * h) << code;
        EXPECT_NEAR(STM_2Tep(2e6, h), 300.0, 1e-9) << code;
        EXPECT_NEAR(STM_sWep(1e5, STM_sEpw(1e5, 0.3)), 0.3, 1e-12) << code;
        EXPECT_NEAR(STM_sWep(1e5, STM_sEtw(STM_kTp(1e5), 0.3)), 0.3, 1e-9) << code;
    }
}

TEST_F(DornelUnits, EntropyCodes) {
    const double sJ = STM_nStp(300.0, 2e6);
    const double factors[] = {1.0 / 4186.8, 1.0, 1.0 / 3600.0};
    for (int code = 31; code <= 33; ++code) {
        ASSERT_EQ(STM_SetEntrUnit(code), 1);
        const double s = STM_nStp(300.0, 2e6);
        EXPECT_NEAR(s, sJ * factors[code - 31], 1e-12 * s) << code;
        EXPECT_NEAR(STM_nTsp(2e6, s), 300.0, 1e-9) << code;
        EXPECT_NEAR(STM_nTsp(2e6, STM_nStp(150.0, 2e6)), 150.0, 1e-9) << code;
        EXPECT_NEAR(STM_sWsp(1e5, STM_sSpw(1e5, 0.3)), 0.3, 1e-12) << code;
    }
}

TEST_F(DornelUnits, VolumeCodes) {
    ASSERT_EQ(STM_SetVolUnit(41), 1);
    const double v = STM_nXtp(300.0, 2e6);
    const double lambda = STM_ThermalConductivity(300.0, v);
    const double mu = STM_DynamicViscosity(300.0, v);
    ASSERT_EQ(STM_SetVolUnit(42), 1);
    const double rho = STM_nXtp(300.0, 2e6);
    EXPECT_NEAR(rho * v, 1.0, 1e-14);
    EXPECT_NEAR(STM_ThermalConductivity(300.0, rho), lambda, 1e-14 * lambda);
    EXPECT_NEAR(STM_DynamicViscosity(300.0, rho), mu, 1e-14 * mu);
}

TEST_F(DornelUnits, WetnessAndDrynessCodes) {
    const double h = STM_sEtw(120.0, 0.3);
    ASSERT_EQ(STM_SetWetDryUnit(52), 1);
    EXPECT_DOUBLE_EQ(STM_sEtw(120.0, 0.7), h);
    EXPECT_NEAR(STM_sWep(STM_kPt(120.0), h), 0.7, 1e-9);
    ASSERT_EQ(STM_SetWetDryUnit(51), 1);
    EXPECT_NEAR(STM_sWep(STM_kPt(120.0), h), 0.3, 1e-9);
}

TEST_F(DornelUnits, HeatCapacityCodes) {
    const double cpJ = STM_nCtp(300.0, 2e6);
    const double factors[] = {1.0 / 4186.8, 1.0, 1.0 / 3600.0};
    for (int code = 61; code <= 63; ++code) {
        ASSERT_EQ(STM_SetHeatCapUnit(code), 1);
        EXPECT_NEAR(STM_nCtp(300.0, 2e6), cpJ * factors[code - 61], 1e-12 * cpJ) << code;
    }
}

TEST_F(DornelUnits, TransportCodes) {
    const double lambda = STM_ThermalConductivity(50.0, 990.0);
    ASSERT_EQ(STM_SetThermalConUnit(71), 1);
    EXPECT_DOUBLE_EQ(STM_ThermalConductivity(50.0, 990.0), lambda * 0.8598452278589853);

    const double mu = STM_DynamicViscosity(50.0, 990.0);
    ASSERT_EQ(STM_SetDynamicVisUnit(81), 1);
    EXPECT_DOUBLE_EQ(STM_DynamicViscosity(50.0, 990.0), mu * 1e-5);
    ASSERT_EQ(STM_SetDynamicVisUnit(82), 1);
    EXPECT_DOUBLE_EQ(STM_DynamicViscosity(50.0, 990.0), mu * 1e-6);

    const double sigma = STM_SurfaceTension(50.0);
    for (const int code : {92, 93}) {
        ASSERT_EQ(STM_SetSurTensionUnit(code), 1);
        EXPECT_DOUBLE_EQ(STM_SurfaceTension(50.0), sigma * 1000.0) << code;
    }
}

} // namespace
} // namespace dornel_test
