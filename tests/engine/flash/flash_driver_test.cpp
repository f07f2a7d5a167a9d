#include "engine/flash/flash_driver.h"
#include "tests/engine/flash/component_table.h"

#include <cmath>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

class Driver : public ::testing::Test {
protected:
    FlashState state;
    FlashCase c = testdata::MethaneButane(0.5F);
    void SetUp() override {
        c.tempF = 100.0F;
        c.pressPsia = 1000.0F;
    }
};

TEST_F(Driver, NothingToRun) {
    FlashCase empty;
    EXPECT_FALSE(RunFlash(empty, state));
    EXPECT_FALSE(empty.failure.empty());
    c.eosIndex = -1;
    EXPECT_FALSE(RunFlash(c, state));
    EXPECT_TRUE(c.x.empty());
}

TEST_F(Driver, SaturationRunsReportFixedVapourFractions) {
    c.flashType = FlashType::BUBP;
    ASSERT_TRUE(RunFlash(c, state)) << c.failure;
    EXPECT_EQ(c.vapourFraction, 1e-08);
    EXPECT_EQ(c.tempF, 100.0F);
    EXPECT_GT(c.pressPsia, 1000.0F); // the computed bubble pressure replaced the input
    EXPECT_EQ(c.x, c.z);
    c.flashType = FlashType::DEWT;
    c.pressPsia = 100.0F;
    ASSERT_TRUE(RunFlash(c, state)) << c.failure;
    EXPECT_EQ(c.vapourFraction, 0.9999999);
    EXPECT_EQ(c.y, c.z);
    EXPECT_EQ(c.pressPsia, 100.0F);
}

TEST_F(Driver, TpRunStoresResultsAndOutcome) {
    ASSERT_TRUE(RunFlash(c, state)) << c.failure;
    EXPECT_TRUE(c.converged);
    EXPECT_TRUE(c.warning.empty());
    EXPECT_GT(c.vapourFraction, 0.0);
    EXPECT_EQ(c.k.size(), 2U);
    EXPECT_GT(c.iterations, 0);
    EXPECT_GT(c.vapourZ, c.liquidZ);
}

// n-butane without a vapour-pressure correlation: the dew-pressure routine divides by 0 on its
// estimate. The dew point exists and is found by continuation from a low pressure; at -400 °F
// there is none, and the routine's failure ends the run with the reason, leaving the previous
// results in place.
TEST_F(Driver, ArithmeticFailureOfTheRoutineIsNotTheEndUnlessThereIsNoPoint) {
    c.vapourPressure[1].code = 0;
    c.flashType = FlashType::DEWP;
    ASSERT_TRUE(RunFlash(c, state)) << c.failure;
    EXPECT_TRUE(c.converged) << c.warning;
    EXPECT_LT(c.residual, 1e-9);
    const auto dewX = c.x;
    c.tempF = -400.0F;
    EXPECT_FALSE(RunFlash(c, state));
    EXPECT_NE(c.failure.find("No dew point at -400 °F"), std::string::npos) << c.failure;
    EXPECT_EQ(c.x, dewX);
    EXPECT_EQ(c.vapourFraction, 0.9999999);
}

TEST_F(Driver, InputsThatCannotBeFlashedAreRefused) {
    c.pressPsia = 0.0F;
    EXPECT_FALSE(RunFlash(c, state));
    EXPECT_NE(c.failure.find("pressure"), std::string::npos);
    c.pressPsia = 1000.0F;
    c.z[0] = std::nanf("");
    EXPECT_FALSE(RunFlash(c, state));
    EXPECT_EQ(c.failure, "There is an error in the stream compositions.");
    c.z[0] = 0.5F;
    c.flashType = FlashType::TV;
    c.vapourFraction = 1.5;
    EXPECT_FALSE(RunFlash(c, state));
    EXPECT_EQ(c.failure, "Vapor Fraction must be a number between 0 and 1.");
}

TEST_F(Driver, EstimateFlagRunsWithTheEstimatedTable) {
    ASSERT_TRUE(RunFlash(c, state));
    const double plain = c.vapourFraction;
    c.estimateKij = true;
    ASSERT_TRUE(RunFlash(c, state));
    EXPECT_NE(c.vapourFraction, plain);
    EXPECT_EQ(c.kij(0, 1), 0.0F); // the case's own table is untouched
}

TEST(FlashTypes, CodesAndListTexts) {
    EXPECT_EQ(FlashTypeCode(FlashType::BUBT), "BUBT");
    EXPECT_EQ(FlashTypeListText(FlashType::DEWP), "Dew Point Pressure (Set T)");
    EXPECT_EQ(FlashTypeListText(FlashType::TV), "");
    EXPECT_EQ(FlashTypeFromCode("PV"), FlashType::PV);
    EXPECT_FALSE(FlashTypeFromCode("XX").has_value());
    EXPECT_FALSE(FlashTypeFromIndex(7).has_value());
}

TEST(KijEstimate, RuleAndZeroTable) {
    const FlashCase c = testdata::NaturalGas();
    const KijTable k = EstimateKij(c.tcF, c.zc);
    for (int i = 0; i < c.n; ++i) {
        EXPECT_EQ(k(i, i), 0.0F);
        for (int j = 0; j < c.n; ++j) {
            EXPECT_EQ(k(i, j), k(j, i));
        }
    }
    const double ti = c.tcF[2] + 459.67;
    const double tj = c.tcF[9] + 459.67;
    const float e = static_cast<float>((double(c.zc[2]) + c.zc[9]) / 2.0);
    EXPECT_FLOAT_EQ(k(2, 9),
                    static_cast<float>(1.0 - std::pow(2.0 * std::sqrt(ti * tj) / (ti + tj), e)));
    const std::vector<float> one = {100.0F};
    const std::vector<float> zcOne = {0.27F};
    EXPECT_EQ(EstimateKij(one, zcOne)(0, 0), 0.0F);
    const std::vector<float> same = {100.0F, 100.0F};
    const std::vector<float> zcTwo = {0.27F, 0.29F};
    EXPECT_EQ(EstimateKij(same, zcTwo)(0, 1), 0.0F);
    const KijTable zero = ZeroKijTable(3);
    EXPECT_EQ(zero.Columns(), 3);
    EXPECT_EQ(zero(24, 2), 0.0F);
}

} // namespace
} // namespace quorvane

namespace quorvane {
namespace {

// The driver hands the outcome of the checks on to the case: a compressed liquid as one
// sound phase, the bubble point of methane above its critical temperature as not converged.
TEST_F(Driver, CaseCarriesTheSoundOutcome) {
    c.flashType = FlashType::TP;
    c.tempF = -200.0F;
    c.pressPsia = 1000.0F;
    ASSERT_TRUE(RunFlash(c, state)) << c.failure;
    EXPECT_TRUE(c.converged) << c.warning;
    EXPECT_EQ(c.vapourFraction, 0.0);
    EXPECT_EQ(c.x, c.z);
    EXPECT_EQ(c.y, c.z);

    FlashCase methane = testdata::MakeCase({"METHANE"}, {1.0F});
    methane.flashType = FlashType::BUBP;
    methane.tempF = 40.0F;
    ASSERT_TRUE(RunFlash(methane, state)) << methane.failure;
    EXPECT_FALSE(methane.converged);
    EXPECT_FALSE(methane.warning.empty());
    EXPECT_TRUE(std::isfinite(methane.residual));
}

} // namespace
} // namespace quorvane
