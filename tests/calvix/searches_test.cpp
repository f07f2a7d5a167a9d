// The searches: spinodals and densities of region 3, the (p, h) and (p, s) classifiers
// and the temperatures they lead to.

#include "calvix/backward.h"
#include "calvix/constants.h"
#include "calvix/ph_ps.h"
#include "calvix/region3_density.h"
#include "calvix/regions.h"
#include "calvix/saturation.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>

namespace calvix {
namespace {

constexpr double kPressTol = 0.00001; // MPa, the density searches' tolerance

TEST(Region3Density, SpinodalsBoundTheStableBranches) {
    for (double t : {623.15, 635.0, 645.0, 647.0}) {
        SCOPED_TRACE(t);
        const double vl = LiquidSpinodalVolume(t);
        const double vv = VapourSpinodalVolume(t);
        EXPECT_LT(vl, 1.0 / kCriticalDensity);
        EXPECT_GT(vv, 1.0 / kCriticalDensity);
        // Stable (∂p/∂v < 0) just outside, unstable just inside.
        EXPECT_LT(Region3DpDv(vl * 0.999, t), 0.0);
        EXPECT_GT(Region3DpDv(vl * 1.001, t), 0.0);
        EXPECT_LT(Region3DpDv(vv * 1.001, t), 0.0);
        EXPECT_GT(Region3DpDv(vv * 0.999, t), 0.0);
    }
}

TEST(Region3Density, SaturatedDensitiesMeetTheSaturationPressure) {
    for (double t : {623.15, 630.0, 640.0, 646.0, 647.0}) {
        SCOPED_TRACE(t);
        const std::optional<double> liquid = SaturatedLiquidDensity(t);
        const std::optional<double> vapour = SaturatedVapourDensity(t);
        ASSERT_TRUE(liquid && vapour);
        EXPECT_GT(*liquid, kCriticalDensity);
        EXPECT_LT(*vapour, kCriticalDensity);
        EXPECT_NEAR(Region3Pressure(*liquid, t), SaturationPressure(t), kPressTol);
        EXPECT_NEAR(Region3Pressure(*vapour, t), SaturationPressure(t), kPressTol);
    }
    EXPECT_FALSE(SaturatedLiquidDensity(623.14));
    EXPECT_FALSE(SaturatedVapourDensity(647.097));
}

TEST(Region3Density, SaturatedDensitiesAt623KMatchRegions1And2) {
    const double ps = SaturationPressure(623.15);
    EXPECT_NEAR(*SaturatedLiquidDensity(623.15), 1.0 / Region1(623.15, ps).v, 0.5);
    EXPECT_NEAR(*SaturatedVapourDensity(623.15), 1.0 / Region2(623.15, ps).v, 0.5);
}

TEST(Region3Density, RecoversTable33Densities) {
    // (T, p) of the release's region 3 table lead back to its densities.
    const double rows[][3] = {
        {650, 0.255837018e2, 500}, {650, 0.222930643e2, 200}, {750, 0.783095639e2, 500}};
    for (const auto& row : rows) {
        const std::optional<double> rho = Region3Density(row[0], row[1]);
        ASSERT_TRUE(rho.has_value()) << row[0];
        EXPECT_NEAR(*rho, row[2], 1e-3) << row[0];
    }
}

TEST(Region3Density, BranchBelowCriticalFollowsSaturationPressure) {
    const double t = 640.0;
    const double ps = SaturationPressure(t);
    const std::optional<double> vapour = Region3Density(t, ps - 0.1);
    const std::optional<double> liquid = Region3Density(t, ps + 0.1);
    ASSERT_TRUE(vapour && liquid);
    EXPECT_LT(*vapour, *SaturatedVapourDensity(t));
    EXPECT_GT(*liquid, *SaturatedLiquidDensity(t));
}

TEST(Region3Density, RangeIsChecked) {
    EXPECT_FALSE(Region3Density(623.14, 50));
    EXPECT_FALSE(Region3Density(700, B23Pressure(700) - 0.01));
    EXPECT_FALSE(Region3Density(700, 100.0001));
    EXPECT_FALSE(Region3Density(863.2, 100));
    EXPECT_TRUE(Region3Density(700, B23Pressure(700)));
    EXPECT_TRUE(Region3Density(863.14, 100));
}

TEST(ClassifyPh, SaturatedVapourIsRegion2AndJustBelowIsWet) {
    const double p = 1.0;
    const double ts = SaturationTemperature(p);
    const double hv = Region2(ts, p).h;
    EXPECT_EQ(ClassifyPh(p, hv), kPhaseVapour);
    EXPECT_NEAR(*TemperaturePh(p, hv), BackwardT2aph(p, hv), 0.0);
    EXPECT_NEAR(*TemperaturePh(p, hv), ts, 0.025);
    const double below = hv - 1e-6;
    EXPECT_EQ(ClassifyPh(p, below), kPhaseWet);
    EXPECT_EQ(*TemperaturePh(p, below), ts);
    // The saturated liquid value itself belongs to region 1.
    EXPECT_EQ(ClassifyPh(p, Region1(ts, p).h), kPhaseLiquid);
}

TEST(ClassifyPs, SubregionSplits) {
    // 2a up to 4 MPa inclusive, then 2b or 2c by s against 5.85 kJ/(kg K).
    EXPECT_EQ(*TemperaturePs(4.0, 6.5), BackwardT2aps(4.0, 6.5));
    EXPECT_EQ(*TemperaturePs(4.000001, 6.5), BackwardT2bps(4.000001, 6.5));
    EXPECT_EQ(ClassifyPs(10.0, 5.85), kPhaseVapour);
    EXPECT_EQ(*TemperaturePs(10.0, 5.85), BackwardT2bps(10.0, 5.85));
    EXPECT_EQ(*TemperaturePs(10.0, 5.849), BackwardT2cps(10.0, 5.849));
    // At 4 MPa, 5.85 kJ/(kg K) lies below the saturated vapour: a wet state.
    EXPECT_EQ(ClassifyPs(4.000001, 5.85), kPhaseWet);
}

TEST(ClassifyPh, SubregionSplitOnB2bc) {
    const double p = 10.0;
    const double hb = B2bcEnthalpy(p);
    EXPECT_EQ(*TemperaturePh(p, hb), BackwardT2bph(p, hb));
    EXPECT_EQ(*TemperaturePh(p, hb - 1.0), BackwardT2cph(p, hb - 1.0));
    // Between 4 MPa and the lowest pressure of the B2bc line (4.5258 MPa) all is 2b; 2c
    // gave 890 K for a state at 815 K at 4.17 MPa.
    for (double pLow : {4.0000001, 4.2, 4.52}) {
        SCOPED_TRACE(pLow);
        for (double t : {600.0, 815.0, 1050.0}) {
            const double h = Region2(t, pLow).h;
            EXPECT_EQ(*TemperaturePh(pLow, h), BackwardT2bph(pLow, h));
            EXPECT_NEAR(*TemperaturePh(pLow, h), t, 0.025);
        }
    }
}

TEST(ClassifyPh, TenMegapascalsIsNotRegion5) {
    const double top = Region2(kMaxTemp25, 10.0).h;
    EXPECT_EQ(ClassifyPh(10.0, top + 1.0), kErrorCode);
    EXPECT_EQ(ClassifyPh(10.0, top), kPhaseVapour);
    EXPECT_EQ(ClassifyPh(9.999, top + 1.0), kPhaseHotVapour);
}

TEST(ClassifyPh, NearCriticalWetStateAt20MPa) {
    const double p = 20.0;
    const double ts = SaturationTemperature(p);
    EXPECT_NEAR(ts, 638.9, 0.1);
    const double hl = Region3(*SaturatedLiquidDensity(ts), ts).h;
    const double hv = Region3(*SaturatedVapourDensity(ts), ts).h;
    const double h = 0.5 * (hl + hv);
    EXPECT_EQ(ClassifyPh(p, h), kPhaseWetNearCritical);
    EXPECT_EQ(*TemperaturePh(p, h), ts);
    EXPECT_EQ(ClassifyPh(p, hv + 1.0), kPhaseDenseVapour);
    EXPECT_EQ(ClassifyPh(p, hl - 1.0), kPhaseDenseLiquid);
}

TEST(ClassifyPh, SupercriticalRegion3At25MPa) {
    const double p = 25.0;
    const double h = 2000.0;
    EXPECT_EQ(ClassifyPh(p, h), kPhaseSupercritical);
    const std::optional<double> t = TemperaturePh(p, h);
    ASSERT_TRUE(t.has_value());
    EXPECT_NEAR(Region3(*Region3Density(*t, p, DensitySearch::Precise), *t).h, h, 1e-5);
}

TEST(ClassifyPh, NestedSearchConvergesWhereStandardDensitiesStall) {
    // With densities searched only to 1e-5 MPa, h3 jumped by about 5e-5 kJ/kg between
    // neighbouring temperatures here and the temperature bisection never met 1e-5 kJ/kg.
    const double p = 96.60508789898141;
    const std::optional<double> t = TemperaturePh(p, 2575.0);
    ASSERT_TRUE(t.has_value());
    EXPECT_NEAR(*t, 816.7172, 1e-3);
    EXPECT_NEAR(Region3(*Region3Density(*t, p, DensitySearch::Precise), *t).h, 2575.0, 1e-5);
}

TEST(ClassifyPh, Region3SearchAnswersTheInconsistencyBandsAtItsEnds) {
    // At 40 MPa region 3 at 623.15 K lies about 0.028 kJ/kg above region 1 there; at 25 MPa
    // region 3 on the B23 line lies about 6e-5 kJ/kg below region 2. Values between are
    // region 3 to the classifier and are the boundary states.
    const double p1 = 40.0;
    const double h1 = Region1(kRegion13Temp, p1).h;
    const double h3 =
        Region3(*Region3Density(kRegion13Temp, p1, DensitySearch::Precise), kRegion13Temp).h;
    ASSERT_GT(h3 - h1, 0.02);
    EXPECT_EQ(ClassifyPh(p1, 0.5 * (h1 + h3)), kPhaseSupercritical);
    EXPECT_NEAR(*TemperaturePh(p1, 0.5 * (h1 + h3)), kRegion13Temp, 1e-9);

    const double p2 = 25.0;
    const double t23 = B23Temperature(p2);
    const double h2 = Region2(t23, p2).h;
    EXPECT_EQ(ClassifyPh(p2, h2 - 3e-5), kPhaseSupercritical);
    EXPECT_NEAR(*TemperaturePh(p2, h2 - 3e-5), t23, 1e-9);
}

TEST(ClassifyPh, OutsideTheFormulation) {
    EXPECT_EQ(ClassifyPh(0.0, 1000), kErrorCode);
    EXPECT_EQ(ClassifyPh(100.0001, 1000), kErrorCode);
    EXPECT_EQ(ClassifyPh(1.0, Region1(kMinTemp, 1.0).h - 0.01), kErrorCode);
    EXPECT_EQ(ClassifyPh(1.0, Region5(kMaxTemp, 1.0).h + 0.01), kErrorCode);
    EXPECT_EQ(ClassifyPh(50.0, Region2(kMaxTemp25, 50.0).h + 0.01), kErrorCode);
    EXPECT_EQ(ClassifyPh(100.0, 1500), kPhaseLiquid); // 100 MPa itself is accepted
    EXPECT_FALSE(TemperaturePh(0.0, 1000));
}

TEST(Region5Search, ReachesBothEndsOfTheRange) {
    for (double p : {0.5, 5.0, 9.99}) {
        SCOPED_TRACE(p);
        const Properties top = Region5(kMaxTemp, p);
        const std::optional<double> tTop = TemperaturePh(p, top.h);
        ASSERT_TRUE(tTop.has_value());
        EXPECT_NEAR(*tTop, kMaxTemp, 1e-5 / top.cp);
        const std::optional<double> sTop = TemperaturePs(p, top.s);
        ASSERT_TRUE(sTop.has_value());
        EXPECT_NEAR(*sTop, kMaxTemp, 1e-5 * kMaxTemp / top.cp);
    }
    EXPECT_FALSE(TemperaturePh(5.0, Region5(kMaxTemp, 5.0).h + 0.001));
}

TEST(TwoPhaseCodes, OnlyWetCodesAreTwoPhase) {
    EXPECT_TRUE(IsTwoPhaseCode(kPhaseWet));
    EXPECT_TRUE(IsTwoPhaseCode(kPhaseWetNearCritical));
    for (int code : {kPhaseLiquid, kPhaseVapour, kPhaseHotVapour, kPhaseSupercritical,
                     kPhaseDenseLiquid, kPhaseDenseVapour, kErrorCode}) {
        EXPECT_FALSE(IsTwoPhaseCode(code)) << code;
    }
}

} // namespace
} // namespace calvix
