#include "engine/flash/isothermal_flash.h"
#include "engine/flash/vapour_fraction_flash.h"
#include "tests/engine/flash/component_table.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

class VapourFraction : public ::testing::TestWithParam<std::pair<float, float>> {
protected:
    FlashState state;
    FlashResults out;
    FlashResults check;
    const FlashCase binary = testdata::MethaneButane(0.5F);
};

// The state found for a vapour fraction gives that fraction back in an isothermal flash.
TEST_P(VapourFraction, PressureAtTemperatureReproducesTheFraction) {
    const float vf = GetParam().first;
    VapourFractionPressure(MixtureOf(binary), binary.z, 100.0F, vf, out, state);
    ASSERT_TRUE(out.converged) << out.warning;
    EXPECT_GE(out.iterations, 5);
    IsothermalFlash(MixtureOf(binary), binary.z, 100.0F, out.pressPsia, check, state);
    EXPECT_NEAR(check.vapourFraction, vf, 2e-3);
}

TEST_P(VapourFraction, TemperatureAtPressureReproducesTheFraction) {
    const float vf = GetParam().second;
    VapourFractionTemperature(MixtureOf(binary), binary.z, 1000.0F, vf, out, state);
    ASSERT_TRUE(out.converged) << out.warning;
    IsothermalFlash(MixtureOf(binary), binary.z, out.tempF, 1000.0F, check, state);
    EXPECT_NEAR(check.vapourFraction, vf, 2e-3);
}

// (fraction for the pressure form at 100 °F, fraction for the temperature form at 1000 psia)
INSTANTIATE_TEST_SUITE_P(Fractions, VapourFraction,
                         ::testing::Values(std::pair{0.2F, 0.2F}, std::pair{0.1F, 0.5F}));

// From its bubble-type start at 100 °F the secant iteration for V = 0.5 runs into the region
// where both phases equal the feed; the result says so.
TEST(VapourFractionTrivial, IsFlagged) {
    FlashState state;
    FlashResults out;
    const FlashCase binary = testdata::MethaneButane(0.5F);
    VapourFractionPressure(MixtureOf(binary), binary.z, 100.0F, 0.5F, out, state);
    EXPECT_FALSE(out.converged);
    EXPECT_NE(out.warning.find("trivial"), std::string::npos);
}

} // namespace
} // namespace quorvane
