#include "units/number_format.h"
#include "units/unit_catalogue.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace quorvane {
namespace {

// Relative closeness at 32-bit resolution (a few units in the last place).
void ExpectSingle(double expected, float actual) {
    EXPECT_NEAR(actual, expected, std::fabs(expected) * 3e-7 + 1e-30) << "expected " << expected;
}

TEST(UnitCatalogue, WorkedTemperatures) {
    // 32 °F shows as 0 °C, 491.69 °R and 273.15 K (display °R uses 459.69).
    EXPECT_EQ(TemperatureToDisplay(32.0, 0), 32.0f);
    EXPECT_EQ(TemperatureToDisplay(32.0, 1), 0.0f);
    EXPECT_EQ(TemperatureToDisplay(32.0, 2), 491.69f);
    EXPECT_EQ(TemperatureToDisplay(32.0, 3), 273.15f);
    EXPECT_EQ(TemperatureToDisplay(212.0, 1), 100.0f);
    EXPECT_EQ(TemperatureFromDisplay(100.0, 1), 212.0f);
    EXPECT_EQ(TemperatureFromDisplay(373.15, 3), 212.0f);
    EXPECT_EQ(TemperatureFromDisplay(459.69, 2), 0.0f);
}

TEST(UnitCatalogue, RankineRoundTripUsesOneOffsetBothWays) {
    // 459.69 both ways: back within the 32-bit resolution of the °R value (a 459.67 on one side
    // would be off by 0.02), and the same text in the temperature format.
    for (float tempF : {-320.4f, -40.0f, 0.0f, 32.0f, 60.0f, 77.5f, 212.0f, 500.25f, 1500.0f}) {
        const float shown = TemperatureToDisplay(tempF, 2);
        const float back = TemperatureFromDisplay(shown, 2);
        EXPECT_NEAR(back, tempF, 1.5e-4) << tempF;
        EXPECT_EQ(FormatNumber(back, "##,##0.00"), FormatNumber(tempF, "##,##0.00"));
    }
}

TEST(UnitCatalogue, WorkedPressures) {
    EXPECT_EQ(PressureToDisplay(14.6959487755, 1), 1.0f);
    EXPECT_EQ(PressureFromDisplay(1.0, 1), 14.6959487755f);
    // 1 psi = 6894.757293 Pa (NIST SP 811); 1 bar = 14.50377377 psi; 1 MPa = 145.0377 psi.
    ExpectSingle(6894.757293, PressureToDisplay(1.0, 5));
    ExpectSingle(6.894757293, PressureToDisplay(1.0, 6));
    ExpectSingle(14.50377377, PressureFromDisplay(1.0, 9));
    ExpectSingle(145.03773773, PressureFromDisplay(1.0, 7));
    ExpectSingle(1.01325, PressureToDisplay(14.6959487755, 9)); // 1 atm = 1.01325 bar
    ExpectSingle(760.0, PressureToDisplay(14.6959487755, 4));   // 1 atm = 760 mmHg
    ExpectSingle(1013.25, PressureToDisplay(14.6959487755, 8)); // 1 atm = 1013.25 mbar
}

TEST(UnitCatalogue, MassBasedUnitsGoThroughTheMolecularWeight) {
    const double mwWater = 18.01528;
    ExpectSingle(1000.0 / mwWater, EnthalpyToDisplay(1000.0, 3, mwWater));
    // 1 Btu/lb = 2.326 kJ/kg exactly (International Table Btu).
    ExpectSingle(1000.0 / mwWater * 2.326, EnthalpyToDisplay(1000.0, 5, mwWater));
    ExpectSingle(10.0 / mwWater * 4.1868, HeatCapacityToDisplay(10.0, 5, mwWater));
    ExpectSingle(0.5 * mwWater, DensityToDisplay(0.5, 3, mwWater));
    // lbm/ft³ to kg/m³: 16.018463.
    ExpectSingle(0.5 * mwWater * 16.018463373, DensityToDisplay(0.5, 5, mwWater));
    ExpectSingle(380.0 / 16.043, VolumeToDisplay(380.0, 3, 16.043));
    // Molar units ignore the molecular weight.
    EXPECT_EQ(EnthalpyToDisplay(1000.0, 0, 0.0), 1000.0f);
    EXPECT_EQ(HeatCapacityToDisplay(8.0, 1, 0.0), 8.0f);
}

TEST(UnitCatalogue, MassBasedUnitWithoutMolecularWeightGivesNaN) {
    EXPECT_TRUE(std::isnan(EnthalpyToDisplay(1000.0, 3, 0.0)));
    EXPECT_TRUE(std::isnan(VolumeToDisplay(1.0, 5, -2.0)));
    EXPECT_TRUE(std::isnan(DensityFromDisplay(1.0, 4, 0.0)));
}

TEST(UnitCatalogue, AgreesWithIndependentFactors) {
    // Conversion factors of NIST SP 811 (2008), to the digits the catalogue's factors carry.
    ExpectSingle(0.3048, VelocityToDisplay(1.0, 3));
    ExpectSingle(60.0, VelocityToDisplay(1.0, 0));
    ExpectSingle(18.288, VelocityToDisplay(1.0, 2));
    ExpectSingle(2.4190883, ViscosityToDisplay(1.0, 1)); // 1 cP in lbm/(ft·h)
    EXPECT_EQ(ViscosityToDisplay(1.0, 2), 0.001f);
    EXPECT_EQ(SurfaceTensionToDisplay(0.072, 0), 72.0f);
    ExpectSingle(0.06852178, SurfaceTensionToDisplay(1.0, 1)); // 1 N/m in lbf/ft
    ExpectSingle(16.018463, DensityToDisplay(1.0, 2, 0.0));    // lbmol/ft³ -> kgmol/m³
    ExpectSingle(1.0 / 62.42796, DensityToDisplay(1.0, 1, 0.0));
    ExpectSingle(1.0 / (1.8 * 6.894757293), JTToDisplay(1.0, 1)); // °F/psi -> °C/kPa
    ExpectSingle(1.0 / (1.8 * 0.06894757293), JTToDisplay(1.0, 2));
    ExpectSingle(4.1868, HeatCapacityToDisplay(1.0, 2, 0.0)); // Btu/(lb·°F) = 4.1868 kJ/(kg·K)
    ExpectSingle(2.326, EnthalpyToDisplay(1.0, 2, 0.0));
    // These catalogue factors differ from the SP 811 values in the sixth digit or beyond.
    EXPECT_NEAR(VolumeToDisplay(1.0, 1, 0.0), 62.42796, 62.42796 * 1e-5);
    EXPECT_NEAR(ThermalConductivityToDisplay(1.0, 2), 1.730735, 2e-3);
    EXPECT_NEAR(ThermalConductivityToDisplay(1.0, 1), 1.488164, 1e-3);
    EXPECT_NEAR(PressureToDisplay(14.6959487755, 2), 29.92126, 1e-4); // 1 atm in inHg (32 °F)
    EXPECT_NEAR(PressureToDisplay(14.6959487755, 3), 406.78, 0.05);   // 1 atm in inH2O
}

struct RoundTripCase {
    QuantityTag tag;
    double value;
};

TEST(UnitCatalogue, EveryConversionRoundTrips) {
    const double mw = 44.097;
    const std::vector<RoundTripCase> cases = {
        {QuantityTag::Temperature, 123.4},
        {QuantityTag::Pressure, 987.6},
        {QuantityTag::VaporPressure, 0.25},
        {QuantityTag::Volume, 1.234},
        {QuantityTag::MolarDensity, 0.456},
        {QuantityTag::Enthalpy, -4567.0},
        {QuantityTag::HC, 12.3},
        {QuantityTag::Entropy, -3.21},
        {QuantityTag::Viscosity, 0.0123},
        {QuantityTag::ThermalConductivity, 0.0567},
        {QuantityTag::SurfaceTension, 0.0189},
        {QuantityTag::Velocity, 1234.5},
        {QuantityTag::JTCoefficient, 0.0456},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(HasConversion(c.tag));
        const auto units = static_cast<UnitIndex>(UnitNames(c.tag).size());
        for (UnitIndex u = 0; u < units; ++u) {
            const float shown = ToDisplay(c.tag, c.value, u, mw);
            const float back = FromDisplay(c.tag, shown, u, mw);
            EXPECT_NEAR(back, c.value, std::fabs(c.value) * 4e-7)
                << QuantityTagText(c.tag) << " unit " << u;
        }
    }
}

TEST(UnitCatalogue, SharedTagsShowOneList) {
    EXPECT_EQ(UnitNames(QuantityTag::VaporPressure).data(),
              UnitNames(QuantityTag::Pressure).data());
    EXPECT_EQ(UnitNames(QuantityTag::HC).data(), UnitNames(QuantityTag::Entropy).data());
}

// Every unit list in full, as the catalogue lists them: the index is the stored unit choice.
TEST(UnitCatalogue, EveryListInFull) {
    const std::pair<const char*, const char*> lists[] = {
        {"Temperature", "°F|°C|°R|K"},
        {"Pressure", "psia|atm|inHg|inH2O|mmHg|Pa|kPa|MPa|mbar|Bar"},
        {"Vapor Pressure", "psia|atm|inHg|inH2O|mmHg|Pa|kPa|MPa|mbar|Bar"},
        {"Viscosity", "cP|lbm/ft-hr|kg/m-s|N-s/m²"},
        {"Surface Tension", "dyn/cm|lbf/ft|N/m"},
        {"Flow Rate", "lbm/hr|lbm/min|lbm/s|kg/hr|kg/min|kg/s"},
        {"Velocity", "ft/min|ft/s|m/min|m/s"},
        {"Pressure Drop", "psi|atm|inHg|inH2O|mmHg|kPa|Pa|Bar"},
        {"Phase Fraction", "Mole Fraction|Mass Fraction"},
        {"Molecular Weight", "lbm/lbmol|gm/gmol|kg/kgmol"},
        {"Volume", "ft³/lbmol|cm³/gmol|m³/kgmol|ft³/lbm|cm³/gm|m³/kg"},
        {"Molar Density", "lbmol/ft³|gmol/cm³|kgmol/m³|lbm/ft³|gm/cm³|kg/m³"},
        {"Enthalpy", "BTU/lbmol|cal/gmol|kJ/kgmol|BTU/lbm|cal/gm|kJ/kg"},
        {"HC", "BTU/lbmol-°R|cal/gmol-K|kJ/kgmol-K|BTU/lbm-°R|cal/gm-K|kJ/kg-K"},
        {"Entropy", "BTU/lbmol-°R|cal/gmol-K|kJ/kgmol-K|BTU/lbm-°R|cal/gm-K|kJ/kg-K"},
        {"Thermal Conductivity", "BTU/hr-ft-°R|kcal/hr-m-K|W/m-K"},
        {"Specific Volume", "ft³/lbm|cm³/gm|m³/kg"},
        {"JT Coefficient", "°F/psi|°C/kPa|°C/Bar"},
    };
    ASSERT_EQ(std::size(lists), 18u);
    for (const auto& [tagText, expected] : lists) {
        const auto tag = QuantityTagFromText(tagText);
        ASSERT_TRUE(tag.has_value()) << tagText;
        EXPECT_EQ(QuantityTagText(*tag), tagText);
        std::string joined;
        for (std::string_view name : UnitNames(*tag)) {
            if (!joined.empty()) {
                joined += '|';
            }
            joined += name;
        }
        EXPECT_EQ(joined, expected) << tagText;
    }
}

TEST(UnitCatalogue, TagTexts) {
    EXPECT_EQ(QuantityTagFromText("Vapor Pressure"), QuantityTag::VaporPressure);
    EXPECT_EQ(QuantityTagFromText("JT Coefficient"), QuantityTag::JTCoefficient);
    EXPECT_EQ(QuantityTagText(QuantityTag::HC), "HC");
    EXPECT_FALSE(QuantityTagFromText("Colour").has_value());
}

TEST(UnitCatalogue, UnitOutsideTheListThrows) {
    EXPECT_THROW(TemperatureToDisplay(1.0, 4), UnitIndexError);
    EXPECT_THROW(PressureFromDisplay(1.0, -1), UnitIndexError);
    EXPECT_THROW(ToDisplay(QuantityTag::FlowRate, 1.0, 6), UnitIndexError);
    EXPECT_EQ(ToDisplay(QuantityTag::MolecularWeight, 16.043, 2), 16.043f);
}

} // namespace
} // namespace quorvane
