#include "engine/eos/k_estimates.h"
#include "tests/engine/flash/component_table.h"

#include <cmath>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

class KEstimates : public ::testing::Test {
protected:
    const testdata::TestComponent& methane = testdata::Component("METHANE");
    const testdata::TestComponent& propane = testdata::Component("PROPANE");
    VapourPressureSet Set(const testdata::TestComponent& c) const { return {c.c, c.code}; }
    float Estimate(const testdata::TestComponent& c, float tF, float z,
                   VapourPressureSet vp) const {
        return VapourPressureEstimate(tF, c.tcF, c.pcPsia, c.w, vp, z);
    }
};

TEST_F(KEstimates, SubcriticalValueIsTheCorrelation) {
    // Propane at 40 °F: the correlation gives about 79 psia (published saturation tables
    // list 78.8 psia); the mole fraction does not enter below Tc.
    const float p = Estimate(propane, 40.0F, 0.3F, Set(propane));
    EXPECT_NEAR(p, 78.8F, 1.5F);
    EXPECT_EQ(p, Estimate(propane, 40.0F, 1.0F, Set(propane)));
}

TEST_F(KEstimates, SupercriticalValueScalesWithMoleFractionAndIsCapped) {
    const float whole = Estimate(methane, 40.0F, 1.0F, Set(methane));
    const float half = Estimate(methane, 40.0F, 0.5F, Set(methane));
    EXPECT_NEAR(half, whole / 2.0F, 1e-3F * whole);
    EXPECT_EQ(Estimate(methane, 2000.0F, 1.0F, Set(methane)), 4000.0F);
}

TEST_F(KEstimates, UnknownCodeGivesZeroBelowTcAndTcItselfUsesTheCorrelation) {
    VapourPressureSet none = Set(propane);
    none.code = 3;
    EXPECT_EQ(Estimate(propane, 40.0F, 1.0F, none), 0.0F);
    // At T = Tc the supercritical branch (which would be Pc·z) is not taken.
    EXPECT_EQ(Estimate(propane, propane.tcF, 1.0F, none), 0.0F);
}

TEST_F(KEstimates, WilsonK) {
    const double tR = 40.0 + 459.67;
    const double tcR = double(propane.tcF) + 459.67;
    EXPECT_NEAR(WilsonK(40.0F, 100.0F, propane.tcF, propane.pcPsia, propane.w),
                propane.pcPsia / 100.0 * std::exp(5.3727 * (1.0 + propane.w) * (1.0 - tcR / tR)),
                1e-5);
}

TEST_F(KEstimates, SaturationTemperatureInvertsTheCorrelation) {
    // Code 6 by Newton from 50 K to 0.01 K: the forward correlation returns the pressure.
    const float tK = SaturationTemperatureK(78.8F, Set(propane), 0.01);
    const float tF = static_cast<float>((tK - 273.15) * 1.8 + 32.0);
    EXPECT_NEAR(Estimate(propane, tF, 1.0F, Set(propane)), 78.8F, 0.05F);
    // Code 1 inverse: T = C2/(C1 − log10 P) − C3.
    VapourPressureSet antoine{{20.0F, 2000.0F, -30.0F, 0.0F, 0.0F}, 1};
    const double pPa = static_cast<float>(100.0 * kPascalPerPsi);
    EXPECT_NEAR(SaturationTemperatureK(100.0F, antoine), 2000.0 / (20.0 - std::log10(pPa)) + 30.0,
                1e-3);
    VapourPressureSet none{};
    EXPECT_EQ(SaturationTemperatureK(100.0F, none), 0.0F);
}

} // namespace
} // namespace quorvane
