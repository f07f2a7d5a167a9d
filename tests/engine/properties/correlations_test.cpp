#include "engine/properties/coefficient_set.h"
#include "engine/properties/pure_correlations.h"
#include "tests/engine/properties/component_rows.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace quorvane {
namespace {

// n-hexane constants of the worked examples: Tb = 155.7 F, Tc = 453.7 F, Pc = 436.9 psia,
// w = 0.3013.
constexpr double kTbF = 155.7;
constexpr double kTcF = 453.7;
constexpr double kPcPsia = 436.9;
constexpr double kW = 0.3013;

CoefficientSet Code7(double a, double b = 0.0, double tMinK = 200.0, double tMaxK = 400.0) {
    return CoefficientSet{a, b, 0.0, 0.0, 0.0, tMinK, tMaxK, 7.0};
}

double KelvinToF(double tempK) {
    return (tempK - 273.15) * 1.8 + 32.0;
}

TEST(CoefficientSetTest, UsableOnlyWhenAllCellsNumericAndTemperatureInRange) {
    CoefficientSet set = Code7(1.0);
    EXPECT_TRUE(set.IsUsableAt(200.0));
    EXPECT_TRUE(set.IsUsableAt(400.0));
    EXPECT_FALSE(set.IsUsableAt(400.0001));
    set.e = std::nan("");
    EXPECT_FALSE(set.IsNumeric());
    EXPECT_FALSE(set.IsUsableAt(300.0));
}

TEST(CoefficientSetTest, ReadsEightCellsFromTheRowAndMissingCellsAreNotNumeric) {
    const auto& row = test_rows::kMethane.cells;
    const CoefficientSet vp = CoefficientSet::FromRow(row, set_base::kVapourPressure);
    EXPECT_EQ(vp.Code(), 6);
    EXPECT_TRUE(vp.IsNumeric());
    const CoefficientSet beyond = CoefficientSet::FromRow(row, 200);
    EXPECT_FALSE(beyond.IsNumeric());
}

TEST(CoefficientSetTest, ConstantCode7GivesAConvertedConstantAtAnyTemperature) {
    const CoefficientSet set = Code7(1000.0);
    for (double t : {100.0, 300.0, 900.0}) {
        EXPECT_DOUBLE_EQ(EvaluateSet(set, SetProperty::HeatCapacity, t, 500.0), 0.239044);
        EXPECT_DOUBLE_EQ(EvaluateSet(set, SetProperty::Viscosity, t, 500.0), 1.0e6);
        EXPECT_DOUBLE_EQ(EvaluateSet(set, SetProperty::SurfaceTension, t, 500.0), 1000.0);
    }
}

TEST(CoefficientSetTest, UnacceptedCodeGivesZero) {
    CoefficientSet set = Code7(1000.0);
    set.code = 5.0; // a conductivity form, not a heat-capacity one
    EXPECT_EQ(EvaluateSet(set, SetProperty::HeatCapacity, 300.0, 500.0), 0.0);
    set.code = 2.0;
    EXPECT_EQ(EvaluateSet(set, SetProperty::LiquidDensity, 300.0, 500.0), 0.0);
}

// Worked values: n-hexane at 77 F.
TEST(PureCorrelationTest, RackettDensityWorkedValue) {
    const float zra = RackettCompressibility(kW);
    EXPECT_NEAR(RackettDensity(77.0, zra, kPcPsia, kTcF), 0.4745, 0.00005);
}

TEST(PureCorrelationTest, VetereHeatOfVaporizationWorkedValue) {
    EXPECT_NEAR(VetereHeatOfVaporization(kTbF, kTcF, kPcPsia), 12356.0, 0.5);
}

TEST(PureCorrelationTest, BrockBirdSurfaceTensionWorkedValue) {
    EXPECT_NEAR(BrockBirdSurfaceTension(77.0, kTbF, kTcF, kPcPsia), 0.01776, 0.000005);
}

TEST(PureCorrelationTest, WatsonKeepsASmallPositiveValueAboveTc) {
    const float hvb = VetereHeatOfVaporization(kTbF, kTcF, kPcPsia);
    EXPECT_FLOAT_EQ(WatsonHeatOfVaporization(hvb, kTbF, kTbF, kTcF), hvb);
    const float above = WatsonHeatOfVaporization(hvb, kTcF + 50.0, kTbF, kTcF);
    EXPECT_GT(above, 0.0F);
    EXPECT_FLOAT_EQ(above, WatsonHeatOfVaporization(hvb, kTcF - 1.0, kTbF, kTcF));
}

TEST(PureCorrelationTest, RowlinsonBondiCapsTheReducedTemperature) {
    const double tcR = kTcF + 459.67;
    const double at095 = 0.95 * tcR - 459.67;
    EXPECT_FLOAT_EQ(RowlinsonBondiResidual(kTcF, kTcF, kW),
                    RowlinsonBondiResidual(at095, kTcF, kW));
    EXPECT_FLOAT_EQ(RowlinsonBondiResidual(kTcF + 100.0, kTcF, kW),
                    RowlinsonBondiResidual(at095, kTcF, kW));
}

TEST(PureCorrelationTest, ClampedLiquidHeatCapacityUsesTheNearerRangeLimit) {
    const CoefficientSet set = Code7(50000.0, 100.0, 200.0, 400.0);
    EXPECT_FLOAT_EQ(ClampedLiquidHeatCapacity(set, KelvinToF(450.0)),
                    ClampedLiquidHeatCapacity(set, KelvinToF(400.0)));
    EXPECT_NEAR(ClampedLiquidHeatCapacity(set, KelvinToF(450.0)), (50000.0 + 40000.0) * 0.000239044,
                1e-4);
    EXPECT_NEAR(ClampedLiquidHeatCapacity(set, KelvinToF(150.0)), (50000.0 + 20000.0) * 0.000239044,
                1e-4);
}

TEST(PureCorrelationTest, MixtureRackettIsFiniteAboveThePseudoCriticalTemperature) {
    const std::array<float, 2> x{0.5F, 0.5F};
    const std::array<float, 2> tc{90.0F, 206.0F};
    const std::array<float, 2> pc{708.0F, 616.0F};
    const std::array<float, 2> vc{2.37F, 3.25F};
    const std::array<float, 2> zra{RackettCompressibility(0.099), RackettCompressibility(0.152)};
    const float hot = MixtureRackettDensity(x, tc, pc, vc, zra, 400.0);
    EXPECT_TRUE(std::isfinite(hot));
    EXPECT_FLOAT_EQ(hot, MixtureRackettDensity(x, tc, pc, vc, zra, 500.0));
    // A single component reduces to the pure Rackett density.
    const std::array<float, 1> one{1.0F};
    EXPECT_NEAR(MixtureRackettDensity(one, std::span(tc).first(1), std::span(pc).first(1),
                                      std::span(vc).first(1), std::span(zra).first(1), 0.0),
                RackettDensity(0.0, zra[0], pc[0], tc[0]), 1e-6);
}

TEST(PureCorrelationTest, PseudoCriticalRulesOfOneComponentGiveItsConstants) {
    const std::array<float, 1> x{1.0F};
    const std::array<float, 1> tc{-116.67F};
    const std::array<float, 1> vc{1.59F};
    const std::array<float, 1> zc{0.286F};
    EXPECT_NEAR(PseudoCriticalTemperature(x, tc, vc), -116.67, 1e-3);
    EXPECT_NEAR(PseudoCriticalPressure(x, vc, tc, zc), 10.731641 * 0.286 * (459.67 - 116.67) / 1.59,
                1e-2);
    EXPECT_EQ(VapourMolarDensity(0.0, 100.0, 1000.0), 0.0F);
}

// Molar volumes add in a two-phase stream: at V = 0.5 with 0.1 and 2 lb-mol/ft3 the stream
// holds 0.1905 lb-mol/ft3 (a density average would give 1.05).
TEST(PureCorrelationTest, TwoPhaseDensityAddsMolarVolumes) {
    EXPECT_NEAR(TwoPhaseMolarDensity(0.5, 0.1, 2.0), 0.1905, 0.00005);
    EXPECT_FLOAT_EQ(TwoPhaseMolarDensity(0.0, 0.1, 2.0), 2.0F);
    EXPECT_FLOAT_EQ(TwoPhaseMolarDensity(1.0, 0.1, 2.0), 0.1F);
    EXPECT_FLOAT_EQ(TwoPhaseMolarDensity(1.0, 0.1, 0.0), 0.1F);
    EXPECT_FALSE(std::isfinite(TwoPhaseMolarDensity(0.5, 0.1, 0.0)));
}

// Ideal-gas functions: zero at the reference temperature, and H and S are the integrals of
// Cp and Cp/T. The entropy conversion (1/4184) differs from the heat-capacity one
// (0.000239044) by 1.6e-4 relative, which bounds the tolerance.
class IdealGasTest : public ::testing::TestWithParam<const test_rows::ComponentRow*> {};

TEST_P(IdealGasTest, ZeroAtReferenceAndConsistentWithHeatCapacity) {
    const CoefficientSet set =
        CoefficientSet::FromRow(GetParam()->cells, set_base::kIdealGasHeatCapacity);
    EXPECT_NEAR(IdealGasEnthalpy(set, 77.0), 0.0, 1e-3);
    EXPECT_NEAR(IdealGasEntropy(set, 77.0), 0.0, 1e-6);
    for (double tempF : {-100.0, 40.0, 300.0}) {
        const double h = 2.0;
        const double dH =
            (IdealGasEnthalpy(set, tempF + h) - IdealGasEnthalpy(set, tempF - h)) / (2.0 * h);
        const double dS =
            (IdealGasEntropy(set, tempF + h) - IdealGasEntropy(set, tempF - h)) / (2.0 * h);
        const double cp = HeatCapacityCorrelation(set, tempF);
        EXPECT_NEAR(dH, cp, 2e-4 * cp) << tempF;
        EXPECT_NEAR(dS * (tempF + 459.67), cp, 5e-4 * cp) << tempF;
    }
}

INSTANTIATE_TEST_SUITE_P(Components, IdealGasTest,
                         ::testing::Values(&test_rows::kNitrogen, &test_rows::kMethane,
                                           &test_rows::kNHexane, &test_rows::kNDecane));

} // namespace
} // namespace quorvane
