#include "common/precision.h"
#include "engine/eos/cubic_roots.h"
#include "engine/flash/flash_driver.h"
#include "engine/flash/flash_state.h"
#include "engine/properties/coefficient_set.h"
#include "engine/properties/mixture_properties.h"
#include "engine/properties/property_components.h"
#include "engine/properties/property_errors.h"
#include "engine/properties/pure_correlations.h"
#include "engine/properties/translated_density.h"
#include "engine/properties/transport.h"
#include "tests/engine/properties/mixture_case.h"
#include "units/fractions.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quorvane {
namespace {

// A flash case of test components, with the property calculation run on it.
struct Mixture : test_rows::MixtureCase {
    using MixtureCase::MixtureCase;

    // Puts the case at a single-phase state of its feed without a flash: x = y = z, both Z
    // values from the roots of the case's equation of state.
    void Assume(float tempF, float pressPsia, double vapourFraction) {
        flash.flashType = FlashType::TP;
        flash.tempF = tempF;
        flash.pressPsia = pressPsia;
        flash.vapourFraction = vapourFraction;
        flash.x = flash.z;
        flash.y = flash.z;
        flash.k.assign(flash.z.size(), 1.0F);
        const EosChoice eos = flash.Eos();
        CubicState state;
        const RootPair roots =
            CompressibilityRoots(eos.equation, tempF, pressPsia, flash.tcF, flash.pcPsia, flash.w,
                                 flash.z, eos.variant, flash.kij.View(), state);
        flash.vapourZ = ToSingle(roots.vapour);
        flash.liquidZ = ToSingle(roots.liquid == kNoLiquidRoot ? roots.vapour : roots.liquid);
    }

    PropertyResults Properties(PropertyResults results = {}) {
        CalculateMixtureProperties(flash, rows, names, results);
        return results;
    }

    // Runs the flash and the property calculation.
    PropertyResults Run(FlashType type, float tempF, float pressPsia,
                        PropertyResults results = {}) {
        flash.flashType = type;
        flash.tempF = tempF;
        flash.pressPsia = pressPsia;
        FlashState state;
        EXPECT_TRUE(RunFlash(flash, state)) << flash.failure;
        CalculateMixtureProperties(flash, rows, names, results);
        return results;
    }
};

constexpr int kPr = 3;

void ExpectPlausible(const PropertyResults& r, Stream stream) {
    for (Quantity q : {Quantity::MolecularWeight, Quantity::Compressibility, Quantity::MolarDensity,
                       Quantity::HeatCapacity, Quantity::HeatCapacityRatio}) {
        const auto value = r.Value(q, stream);
        ASSERT_TRUE(value.has_value());
        EXPECT_GT(*value, 0.0) << static_cast<int>(q);
    }
}

// Natural gas at 40 F and 800 psia with the Peng-Robinson equation.
TEST(MixturePropertiesTest, NaturalGasGivesFiniteResultsForEveryPresentStream) {
    Mixture m({&test_rows::kNitrogen, &test_rows::kCarbonDioxide, &test_rows::kMethane,
               &test_rows::kEthane, &test_rows::kPropane, &test_rows::kNButane,
               &test_rows::kNPentane, &test_rows::kNHexane, &test_rows::kNOctane,
               &test_rows::kNDecane},
              {0.02F, 0.03F, 0.70F, 0.09F, 0.06F, 0.04F, 0.02F, 0.02F, 0.01F, 0.01F}, kPr);
    const PropertyResults r = m.Run(FlashType::TP, 40.0F, 800.0F);
    ASSERT_TRUE(r.vapourPresent);
    ASSERT_TRUE(r.liquidPresent);
    for (Stream s : {Stream::Feed, Stream::Vapour, Stream::Liquid}) {
        ExpectPlausible(r, s);
    }
    EXPECT_GT(*r.Value(Quantity::MolarDensity, Stream::Liquid),
              *r.Value(Quantity::MolarDensity, Stream::Vapour));
    EXPECT_GT(*r.Value(Quantity::Viscosity, Stream::Liquid),
              *r.Value(Quantity::Viscosity, Stream::Vapour));
    EXPECT_GT(*r.Value(Quantity::SurfaceTension, Stream::Liquid), 0.0);
    // The feed's molar volume is the sum of its phases' volumes.
    const double v = m.flash.vapourFraction;
    EXPECT_NEAR(1.0 / r.molarDensity[0], v / r.molarDensity[1] + (1.0 - v) / r.molarDensity[2],
                1e-5 / r.molarDensity[0]);
}

// The ideal-gas heat capacity of a phase is a molar average, a 32-bit value, and the vapour's
// Cp adds the equation-of-state residual to it.
TEST(MixturePropertiesTest, VapourHeatCapacityStartsFromThe32BitIdealGasAverage) {
    Mixture m({&test_rows::kNitrogen, &test_rows::kCarbonDioxide, &test_rows::kMethane,
               &test_rows::kEthane, &test_rows::kPropane, &test_rows::kNButane},
              {0.02F, 0.03F, 0.80F, 0.08F, 0.04F, 0.03F}, kPr);
    for (float tempF : {20.0F, 60.0F, 100.0F, 140.0F, 180.0F}) {
        const PropertyResults r = m.Run(FlashType::TP, tempF, 300.0F);
        ASSERT_EQ(m.flash.vapourFraction, 1.0);
        std::vector<float> cpIdeal;
        for (const auto& row : m.rows) {
            cpIdeal.push_back(HeatCapacityCorrelation(
                CoefficientSet::FromRow(row, set_base::kIdealGasHeatCapacity), tempF));
        }
        const float cp0 = MolarAverage(m.flash.y, cpIdeal);
        EXPECT_EQ(r.heatCapacity[1], ToSingle(cp0 + r.residual[1].heatCapacity)) << tempF;
    }
}

// Methane and ethane at 100 F and 200 psia are all vapour.
TEST(MixturePropertiesTest, SinglePhaseVapourGivesTheFeedTheVapourValues) {
    Mixture m({&test_rows::kMethane, &test_rows::kEthane}, {0.9F, 0.1F}, kPr);
    // Unset at the start: the liquid's fields give the feed nothing.
    PropertyResults before = PropertyResults::Unset();
    before.viscosity[1] = -5.0F; // must survive: the liquid is not evaluated
    before.surfaceTension = -6.0F;
    const PropertyResults r = m.Run(FlashType::TP, 100.0F, 200.0F, before);
    ASSERT_EQ(m.flash.vapourFraction, 1.0);
    EXPECT_TRUE(r.vapourPresent);
    EXPECT_FALSE(r.liquidPresent);
    EXPECT_EQ(r.compressibility[0], r.compressibility[1]);
    EXPECT_EQ(r.molarDensity[0], r.molarDensity[1]);
    EXPECT_EQ(r.molarDensity[2], 0.0F);
    EXPECT_EQ(r.heatCapacity[0], r.heatCapacity[1]);
    EXPECT_EQ(r.enthalpy[0], r.enthalpy[1]);
    EXPECT_EQ(r.entropy[0], r.entropy[1]);
    EXPECT_EQ(r.heatCapacityRatio[0], r.heatCapacityRatio[1]);
    EXPECT_EQ(r.residual[0].enthalpy, r.residual[1].enthalpy);
    EXPECT_EQ(r.viscosity[1], -5.0F);
    EXPECT_EQ(r.surfaceTension, -6.0F);
    EXPECT_FALSE(r.Value(Quantity::Compressibility, Stream::Liquid).has_value());
    EXPECT_FALSE(r.Value(Quantity::SurfaceTension, Stream::Liquid).has_value());
    ExpectPlausible(r, Stream::Vapour);
    // A light gas near ambient: Cp/Cv a little above 1.3, sound near 1 500 ft/s.
    EXPECT_NEAR(*r.Value(Quantity::HeatCapacityRatio, Stream::Vapour), 1.33, 0.08);
    EXPECT_NEAR(*r.Value(Quantity::SoundSpeed, Stream::Vapour), 1450.0, 150.0);
    EXPECT_GT(*r.Value(Quantity::JouleThomson, Stream::Vapour), 0.0);
}

// n-hexane and n-decane at 77 F and 100 psia are all liquid.
TEST(MixturePropertiesTest, SinglePhaseLiquidGivesTheFeedTheLiquidValues) {
    Mixture m({&test_rows::kNHexane, &test_rows::kNDecane}, {0.5F, 0.5F}, kPr);
    PropertyResults before = PropertyResults::Unset();
    before.viscosity[0] = -5.0F;
    const PropertyResults r = m.Run(FlashType::TP, 77.0F, 100.0F, before);
    ASSERT_EQ(m.flash.vapourFraction, 0.0);
    EXPECT_FALSE(r.vapourPresent);
    EXPECT_TRUE(r.liquidPresent);
    EXPECT_EQ(r.compressibility[0], r.compressibility[2]);
    EXPECT_EQ(r.molarDensity[0], r.molarDensity[2]);
    EXPECT_EQ(r.heatCapacity[0], r.heatCapacity[2]);
    EXPECT_EQ(r.enthalpy[0], r.enthalpy[2]);
    EXPECT_EQ(r.entropy[0], r.entropy[2]);
    EXPECT_EQ(r.heatCapacityRatio[0], r.heatCapacityRatio[2]);
    EXPECT_EQ(r.residual[0].entropy, r.residual[2].entropy);
    EXPECT_EQ(r.viscosity[0], -5.0F);
    EXPECT_FALSE(r.Value(Quantity::Viscosity, Stream::Vapour).has_value());
    ExpectPlausible(r, Stream::Liquid);
    EXPECT_LT(*r.Value(Quantity::JouleThomson, Stream::Liquid), 0.0);
}

// Pure n-hexane liquid at 77 F against handbook values (density 0.1590 lb-mol/ft3 from
// 655 kg/m3; viscosity about 0.30 cP; surface tension 0.0179 N/m; heat of vaporization
// 31.6 kJ/mol = 13 590 Btu/lb-mol).
TEST(MixturePropertiesTest, PureHexaneLiquidNearHandbookValues) {
    Mixture m({&test_rows::kNHexane}, {1.0F}, kPr);
    m.Assume(77.0F, 14.696F, 0.0);
    const PropertyResults r = m.Properties();
    ASSERT_TRUE(r.liquidPresent);
    EXPECT_NEAR(r.molarDensity[2], 0.4745, 0.01);
    EXPECT_NEAR(r.viscosity[1], 0.30, 0.03);
    EXPECT_NEAR(r.surfaceTension, 0.0179, 0.001);
    EXPECT_NEAR(r.heatOfVaporization, 13590.0, 300.0);
    EXPECT_NEAR(r.thermalConductivity[1], 0.07, 0.01);
}

TEST(MixturePropertiesTest, ZeroFeedFractionBecomesTracePresence) {
    Mixture m({&test_rows::kMethane, &test_rows::kEthane, &test_rows::kPropane}, {0.9F, 0.1F, 0.0F},
              kPr);
    m.Run(FlashType::TP, 100.0F, 200.0F);
    EXPECT_EQ(m.flash.z[2], 1e-7F);
    EXPECT_EQ(m.flash.z[0], 0.9F);
}

// The liquid heat-capacity set is evaluated at its nearer range limit outside its range.
TEST(MixturePropertiesTest, LiquidHeatCapacitySetIsClampedIntoItsRange) {
    Mixture m({&test_rows::kNHexane}, {1.0F}, kPr);
    m.rows[0][set_base::kLiquidHeatCapacity + 5] = 200.0; // range 200 K to 250 K, T = 298 K
    m.rows[0][set_base::kLiquidHeatCapacity + 6] = 250.0;
    m.Assume(77.0F, 14.696F, 0.0);
    const PropertyResults r = m.Properties();
    const CoefficientSet set = CoefficientSet::FromRow(m.rows[0], set_base::kLiquidHeatCapacity);
    const double at250K = (250.0 - 273.15) * 1.8 + 32.0;
    EXPECT_FLOAT_EQ(r.heatCapacity[2], HeatCapacityCorrelation(set, at250K));
}

// The liquid viscosity mixes by the mass fractions of the shared mole-to-mass conversion,
// whose products and sum are 32-bit: with constant component viscosities (0.3 and 0.9 cP) and
// x = 0.061/0.939 a 64-bit conversion would change the last bit of the result.
TEST(MixturePropertiesTest, LiquidViscosityMixesByTheSharedMassFractions) {
    Mixture m({&test_rows::kNHexane, &test_rows::kNDecane}, {0.061F, 0.939F}, kPr);
    const std::array<double, 2> viscosityPaS{0.0003, 0.0009};
    for (std::size_t i = 0; i < 2; ++i) {
        std::vector<double>& row = m.rows[i];
        const auto base = static_cast<std::size_t>(set_base::kLiquidViscosity);
        for (std::size_t k = 0; k < 5; ++k) {
            row[base + k] = 0.0;
        }
        row[base] = viscosityPaS[i];
        row[base + 5] = 200.0;
        row[base + 6] = 400.0;
        row[base + 7] = 7.0;
        row[static_cast<std::size_t>(set_base::kVapourPressure) + 7] = test_rows::kEmpty;
    }
    m.Assume(77.0F, 100.0F, 0.0);
    const PropertyResults r = m.Properties();
    const std::array<float, 2> molWeight{ToSingle(m.rows[0][2]), ToSingle(m.rows[1][2])};
    const std::array<float, 2> eta{0.3F, 0.9F};
    EXPECT_EQ(r.viscosity[1], LogMeanMixing(MoleToMassFractions(m.flash.x, molWeight), eta));
}

// The liquid conductivity takes its pressure factor only above 50 psia: at 50 psia exactly
// pure n-hexane at 77 F has the value of its conductivity set.
TEST(MixturePropertiesTest, LiquidConductivityPressureFactorStartsAbove50Psia) {
    Mixture m({&test_rows::kNHexane}, {1.0F}, kPr);
    const CoefficientSet set = CoefficientSet::FromRow(m.rows[0], set_base::kLiquidConductivity);
    const double tempK = FahrenheitToKelvin(77.0F);
    ASSERT_TRUE(set.IsUsableAt(tempK));
    const float fromSet = ToSingle(EvaluateSet(set, SetProperty::ThermalConductivity, tempK,
                                               FahrenheitToKelvin(m.flash.tcF[0])));
    m.Assume(77.0F, 50.0F, 0.0);
    EXPECT_EQ(m.Properties().thermalConductivity[1], fromSet);
    m.Assume(77.0F, 60.0F, 0.0);
    EXPECT_NE(m.Properties().thermalConductivity[1], fromSet);
}

// A liquid component above its critical temperature without a usable surface-tension set
// gets no Brock-Bird value and adds nothing: methane (its set ends at 190.56 K) dissolved in
// n-decane at 77 F.
TEST(MixturePropertiesTest, SurfaceTensionLeavesOutASupercriticalComponentWithoutASet) {
    Mixture m({&test_rows::kMethane, &test_rows::kNDecane}, {0.2F, 0.8F}, kPr);
    m.Assume(77.0F, 3000.0F, 0.0);
    const PropertyResults r = m.Properties();
    const CoefficientSet decane = CoefficientSet::FromRow(m.rows[1], set_base::kSurfaceTension);
    const double expected =
        0.8F * static_cast<double>(SurfaceTensionCorrelation(decane, 77.0, m.flash.tcF[1]));
    EXPECT_EQ(r.surfaceTension, ToSingle(expected));
}

// A single component without a liquid-density set: Rackett below Tc, the translated
// Peng-Robinson liquid above it, whatever equation of state the case uses.
TEST(MixturePropertiesTest, SingleComponentLiquidDensityRoutes) {
    constexpr int kSrk = 1;
    Mixture m({&test_rows::kMethane}, {1.0F}, kSrk);
    for (int k = 0; k < 8; ++k) {
        m.rows[0][static_cast<std::size_t>(set_base::kLiquidDensity + k)] = test_rows::kEmpty;
    }
    const float tcF = m.flash.tcF[0];
    const float pcPsia = m.flash.pcPsia[0];
    const float w = m.flash.w[0];

    m.Assume(-200.0F, 500.0F, 0.0);
    EXPECT_FLOAT_EQ(m.Properties().molarDensity[2],
                    RackettDensity(-200.0, RackettCompressibility(w), pcPsia, tcF));

    m.Assume(0.0F, 3000.0F, 0.0);
    CubicState state;
    const float translated = TranslatedPengRobinsonDensity(0.0F, 3000.0F, tcF, pcPsia, w, state);
    EXPECT_FLOAT_EQ(m.Properties().molarDensity[2], translated);
    // Supercritical methane at 0 F and 3000 psia (Tr 1.34, Pr 4.5, Z about 0.75 on the
    // generalized chart) holds about 0.81 lb-mol/ft3.
    EXPECT_NEAR(translated, 0.81, 0.08);
}

// A failing statement keeps its target: a vapour-viscosity set of a form viscosity does not
// accept gives 0, Wilke's rule divides by it, the vapour viscosity keeps its value while the
// rest is calculated.
TEST(MixturePropertiesTest, FailingStatementKeepsItsPreviousValue) {
    Mixture m({&test_rows::kMethane, &test_rows::kEthane}, {0.9F, 0.1F}, kPr);
    m.rows[1][set_base::kVapourViscosity + 7] = 4.0; // a density form
    PropertyResults before;
    before.viscosity[0] = 123.0F;
    const PropertyResults r = m.Run(FlashType::TP, 100.0F, 200.0F, before);
    EXPECT_EQ(r.viscosity[0], 123.0F);
    EXPECT_GT(r.thermalConductivity[0], 0.0F);
    EXPECT_GT(r.soundSpeed[0], 0.0F);
    // Calculated into an unset record, the skipped value is reported as missing, not as 0.
    const PropertyResults fresh = m.Run(FlashType::TP, 100.0F, 200.0F, PropertyResults::Unset());
    EXPECT_FALSE(fresh.Value(Quantity::Viscosity, Stream::Vapour).has_value());
    EXPECT_TRUE(fresh.Value(Quantity::ThermalConductivity, Stream::Vapour).has_value());
    EXPECT_FALSE(fresh.Value(Quantity::Viscosity, Stream::Liquid).has_value());
}

// A value that fails in a calculation is not reported, though its field may still hold a
// number, and the note names the component and the reason; values made from it (the feed's)
// go with it, the next good calculation reports everything again.
TEST(MixturePropertiesTest, ValuesTheCalculationCouldNotMakeAreMissingWithTheirReason) {
    Mixture m({&test_rows::kMethane, &test_rows::kEthane}, {0.9F, 0.1F}, kPr);
    PropertyResults r = m.Run(FlashType::TP, 100.0F, 200.0F);
    ASSERT_TRUE(r.Value(Quantity::HeatCapacity, Stream::Vapour).has_value());
    ASSERT_TRUE(r.Notes().empty());

    // Methane's ideal-gas set overflows at 100 F, which lies outside the range it claims.
    const std::vector<double> good = m.rows[0];
    const auto base = static_cast<std::size_t>(set_base::kIdealGasHeatCapacity);
    m.rows[0][base + 4] = 1e300;
    m.rows[0][base + 5] = 50.0;
    m.rows[0][base + 6] = 100.0;
    m.rows[0][base + 7] = 7.0;
    r = m.Run(FlashType::TP, 100.0F, 200.0F, r);
    for (Stream s : {Stream::Feed, Stream::Vapour}) {
        for (Quantity q : {Quantity::HeatCapacity, Quantity::Enthalpy, Quantity::Entropy,
                           Quantity::HeatCapacityRatio}) {
            EXPECT_FALSE(r.Value(q, s).has_value()) << static_cast<int>(q);
        }
        EXPECT_TRUE(r.Value(Quantity::ResidualEnthalpy, s).has_value());
        EXPECT_TRUE(r.Value(Quantity::MolarDensity, s).has_value());
    }
    EXPECT_FALSE(r.Value(Quantity::SoundSpeed, Stream::Vapour).has_value());
    EXPECT_TRUE(std::isfinite(r.heatCapacity[1])); // the field holds a number all the same
    const std::vector<std::string> notes = r.NotesOf(Quantity::HeatCapacity, Stream::Feed);
    ASSERT_EQ(notes.size(), 1U);
    EXPECT_EQ(notes[0], "the ideal-gas heat-capacity coefficients of METHANE give no value at "
                        "310.93 K, outside their range 50.00 K to 100.00 K");

    m.rows[0] = good;
    r = m.Run(FlashType::TP, 100.0F, 200.0F, r);
    EXPECT_TRUE(r.Value(Quantity::HeatCapacity, Stream::Feed).has_value());
    EXPECT_TRUE(r.Notes().empty());
}

// From the surface tension on a failure goes to the caller; what came before is stored.
TEST(MixturePropertiesTest, SurfaceTensionFailureReachesTheCaller) {
    Mixture m({&test_rows::kNHexane}, {1.0F}, kPr);
    const int base = set_base::kSurfaceTension;
    m.rows[0][base] = 1e308;
    m.rows[0][base + 1] = 1e308;
    m.rows[0][base + 7] = 7.0;
    m.rows[0][base + 5] = 100.0;
    m.rows[0][base + 6] = 500.0;
    m.Assume(77.0F, 14.696F, 0.0);
    PropertyResults r;
    EXPECT_THROW(CalculateMixtureProperties(m.flash, m.rows, m.names, r), PropertyError);
    EXPECT_GT(r.viscosity[1], 0.0F);
    EXPECT_EQ(r.surfaceTension, 0.0F);
    EXPECT_FALSE(r.Value(Quantity::SurfaceTension, Stream::Liquid).has_value());
    EXPECT_EQ(r.NotesOf(Quantity::SurfaceTension, Stream::Liquid).size(), 1U);
}

TEST(MixturePropertiesTest, MismatchedArraysAreRefusedBeforeAnythingChanges) {
    Mixture m({&test_rows::kMethane, &test_rows::kEthane}, {0.9F, 0.1F}, kPr);
    m.Run(FlashType::TP, 100.0F, 200.0F);
    m.rows.pop_back();
    PropertyResults r;
    EXPECT_THROW(CalculateMixtureProperties(m.flash, m.rows, m.names, r), MixtureSizeError);
    EXPECT_FALSE(r.calculated);
}

// Constants prepared once serve every state, equation of state and group selection: each
// value is the one the calculation from the rows gives, bit for bit, and a selection leaves
// the groups it does not name (and no named group needs) uncomputed.
TEST(MixturePropertiesTest, PreparedComponentsAndSelectionsGiveTheValuesOfTheRows) {
    Mixture m({&test_rows::kNitrogen, &test_rows::kCarbonDioxide, &test_rows::kMethane,
               &test_rows::kPropane, &test_rows::kNHexane, &test_rows::kNDecane},
              {0.03F, 0.04F, 0.70F, 0.10F, 0.08F, 0.05F}, kPr);
    m.flash.estimateKij = true;
    const PropertyComponents prepared(m.flash, m.rows, m.names);
    PropertySelection transportOnly = PropertySelection::None();
    transportOnly.Add(PropertyGroup::Transport);
    PropertySelection thermalAndSurface = PropertySelection::None();
    thermalAndSurface.Add(PropertyGroup::Thermal);
    thermalAndSurface.Add(PropertyGroup::SurfaceTension);
    for (int eos = 0; eos < 5; ++eos) {
        for (const auto& [tempF, pressPsia] :
             {std::pair{40.0F, 800.0F}, std::pair{-80.0F, 300.0F}, std::pair{250.0F, 100.0F}}) {
            m.flash.eosIndex = eos;
            const PropertyResults fromRows = m.Run(FlashType::TP, tempF, pressPsia);
            for (PropertySelection selection :
                 {PropertySelection::All(), transportOnly, thermalAndSurface}) {
                PropertyResults r;
                CalculateMixtureProperties(m.flash, prepared, r, selection);
                for (std::size_t q = 0; q < kQuantityCount; ++q) {
                    const auto quantity = static_cast<Quantity>(q);
                    for (Stream s : {Stream::Feed, Stream::Vapour, Stream::Liquid}) {
                        const auto value = r.Value(quantity, s);
                        const auto expected = fromRows.Value(quantity, s);
                        // A group not named is computed only as far as a named one needs it.
                        ASSERT_TRUE(!selection.Has(quantity) ||
                                    value.has_value() == expected.has_value());
                        if (value) {
                            EXPECT_EQ(*value, *expected)
                                << eos << " " << tempF << " " << q << " " << static_cast<int>(s);
                        }
                    }
                }
                EXPECT_EQ(r.Value(Quantity::Enthalpy, Stream::Feed).has_value(),
                          selection.Has(PropertyGroup::Thermal));
                EXPECT_EQ(r.Value(Quantity::Viscosity, Stream::Vapour).has_value(),
                          selection.Has(PropertyGroup::Transport) && r.vapourPresent);
            }
        }
    }
    // Constants of other component data are refused.
    m.flash.tcF[2] += 1.0F;
    PropertyResults r;
    EXPECT_THROW(CalculateMixtureProperties(m.flash, prepared, r), MixtureSizeError);
}

// At a pure component's bubble point vapour and liquid have equal Gibbs energy:
// S_V - S_L = (H_V - H_L)/T, with the entropy departure of each root carrying the entropy of
// vaporization.
class SaturationTest : public ::testing::TestWithParam<int> {};

TEST_P(SaturationTest, VapourAndLiquidHaveEqualGibbsEnergy) {
    Mixture m({&test_rows::kPropane}, {1.0F}, GetParam());
    const PropertyResults r = m.Run(FlashType::BUBP, 100.0F, 0.0F);
    ASSERT_TRUE(r.vapourPresent && r.liquidPresent);
    const double tR = 100.0 + 459.67;
    const double dH = static_cast<double>(r.enthalpy[1]) - r.enthalpy[2];
    const double dS = static_cast<double>(r.entropy[1]) - r.entropy[2];
    EXPECT_NEAR(dS, dH / tR, 2e-4 * dH / tR) << m.flash.pressPsia;
    if (GetParam() != 0) {
        // With the acentric factor the equation's heat of vaporization is near the
        // correlation's (propane at 100 F: about 6 300 Btu/lb-mol).
        EXPECT_NEAR(dH, r.heatOfVaporization, 0.05 * dH);
    }
}

INSTANTIATE_TEST_SUITE_P(Equations, SaturationTest, ::testing::Values(0, 1, 3));

} // namespace
} // namespace quorvane
