#include "units/unit_catalogue.h"

#include <gtest/gtest.h>
#include <vector>

namespace quorvane {
namespace {

// Every conversion of the catalogue written out a second time, as the conversion table states
// it: v the internal value, M the molecular weight, d the display value. Each result must equal
// the formula evaluated in 64 bits and then rounded to 32 bits, so a factor mistyped in any
// digit fails here.
using Formula = double (*)(double, double);

struct ConversionRow {
    QuantityTag tag;
    UnitIndex unit;
    Formula toDisplay;   // (v, M)
    Formula fromDisplay; // (d, M)
};

// clang-format off
const std::vector<ConversionRow> kRows = {
    {QuantityTag::Temperature, 0, [](double v, double) { return v; }, [](double d, double) { return d; }},
    {QuantityTag::Temperature, 1, [](double v, double) { return (v - 32) / 1.8; }, [](double d, double) { return d * 1.8 + 32; }},
    {QuantityTag::Temperature, 2, [](double v, double) { return v + 459.69; }, [](double d, double) { return d - 459.69; }},
    {QuantityTag::Temperature, 3, [](double v, double) { return (v - 32) / 1.8 + 273.15; }, [](double d, double) { return (d - 273.15) * 1.8 + 32; }},

    {QuantityTag::Pressure, 0, [](double v, double) { return v; }, [](double d, double) { return d; }},
    {QuantityTag::Pressure, 1, [](double v, double) { return v / 14.6959487755; }, [](double d, double) { return d * 14.6959487755; }},
    {QuantityTag::Pressure, 2, [](double v, double) { return v * 2.036020862; }, [](double d, double) { return d / 2.036020862; }},
    {QuantityTag::Pressure, 3, [](double v, double) { return v * 27.679903968; }, [](double d, double) { return d / 27.679903968; }},
    {QuantityTag::Pressure, 4, [](double v, double) { return v * 51.714932572; }, [](double d, double) { return d / 51.714932572; }},
    {QuantityTag::Pressure, 5, [](double v, double) { return v * 6894.757293; }, [](double d, double) { return d / 6894.757293; }},
    {QuantityTag::Pressure, 6, [](double v, double) { return v * 6.894757293; }, [](double d, double) { return d / 6.894757293; }},
    {QuantityTag::Pressure, 7, [](double v, double) { return v / 145.03773773; }, [](double d, double) { return d * 145.03773773; }},
    {QuantityTag::Pressure, 8, [](double v, double) { return v * 68.94757293; }, [](double d, double) { return d / 68.94757293; }},
    {QuantityTag::Pressure, 9, [](double v, double) { return v / 14.50377377; }, [](double d, double) { return d * 14.50377377; }},

    {QuantityTag::Volume, 0, [](double v, double) { return v; }, [](double d, double) { return d; }},
    {QuantityTag::Volume, 1, [](double v, double) { return v * 62.428212076; }, [](double d, double) { return d / 62.428212076; }},
    {QuantityTag::Volume, 2, [](double v, double) { return v * 0.0624279606; }, [](double d, double) { return d / 0.0624279606; }},
    {QuantityTag::Volume, 3, [](double v, double m) { return v / m; }, [](double d, double m) { return d * m; }},
    {QuantityTag::Volume, 4, [](double v, double m) { return v / m * 62.428212076; }, [](double d, double m) { return d / 62.428212076 * m; }},
    {QuantityTag::Volume, 5, [](double v, double m) { return v / m * 0.0624279606; }, [](double d, double m) { return d / 0.0624279606 * m; }},

    {QuantityTag::MolarDensity, 0, [](double v, double) { return v; }, [](double d, double) { return d; }},
    {QuantityTag::MolarDensity, 1, [](double v, double) { return v / 62.42796058; }, [](double d, double) { return d * 62.42796058; }},
    {QuantityTag::MolarDensity, 2, [](double v, double) { return v * 16.018463373; }, [](double d, double) { return d / 16.018463373; }},
    {QuantityTag::MolarDensity, 3, [](double v, double m) { return v * m; }, [](double d, double m) { return d / m; }},
    {QuantityTag::MolarDensity, 4, [](double v, double m) { return v * m * 0.0160184634; }, [](double d, double m) { return d / m / 0.0160184634; }},
    {QuantityTag::MolarDensity, 5, [](double v, double m) { return v * m * 16.018463373; }, [](double d, double m) { return d / m / 16.018463373; }},

    {QuantityTag::Enthalpy, 0, [](double v, double) { return v; }, [](double d, double) { return d; }},
    {QuantityTag::Enthalpy, 1, [](double v, double) { return v * 0.5555640044; }, [](double d, double) { return d / 0.5555640044; }},
    {QuantityTag::Enthalpy, 2, [](double v, double) { return v * 2.3259999996; }, [](double d, double) { return d / 2.3259999996; }},
    {QuantityTag::Enthalpy, 3, [](double v, double m) { return v / m; }, [](double d, double m) { return d * m; }},
    {QuantityTag::Enthalpy, 4, [](double v, double m) { return v * 0.5555640044 / m; }, [](double d, double m) { return d / 0.5555640044 * m; }},
    {QuantityTag::Enthalpy, 5, [](double v, double m) { return v * 2.3259999996 / m; }, [](double d, double m) { return d / 2.3259999996 * m; }},

    {QuantityTag::HC, 0, [](double v, double) { return v; }, [](double d, double) { return d; }},
    {QuantityTag::HC, 1, [](double v, double) { return v; }, [](double d, double) { return d; }},
    {QuantityTag::HC, 2, [](double v, double) { return v * 4.1867999935; }, [](double d, double) { return d / 4.1867999935; }},
    {QuantityTag::HC, 3, [](double v, double m) { return v / m; }, [](double d, double m) { return d * m; }},
    {QuantityTag::HC, 4, [](double v, double m) { return v / m; }, [](double d, double m) { return d * m; }},
    {QuantityTag::HC, 5, [](double v, double m) { return v * 4.1867999935 / m; }, [](double d, double m) { return d / 4.1867999935 * m; }},

    {QuantityTag::Viscosity, 0, [](double v, double) { return v; }, [](double d, double) { return d; }},
    {QuantityTag::Viscosity, 1, [](double v, double) { return v * 2.4190883105; }, [](double d, double) { return d / 2.4190883105; }},
    {QuantityTag::Viscosity, 2, [](double v, double) { return v / 1000; }, [](double d, double) { return d * 1000; }},
    {QuantityTag::Viscosity, 3, [](double v, double) { return v / 1000; }, [](double d, double) { return d * 1000; }},

    {QuantityTag::ThermalConductivity, 0, [](double v, double) { return v; }, [](double d, double) { return d; }},
    {QuantityTag::ThermalConductivity, 1, [](double v, double) { return v * 1.487939; }, [](double d, double) { return d / 1.487939; }},
    {QuantityTag::ThermalConductivity, 2, [](double v, double) { return v * 1.729195385; }, [](double d, double) { return d / 1.729195385; }},

    {QuantityTag::SurfaceTension, 0, [](double v, double) { return v * 1000; }, [](double d, double) { return d / 1000; }},
    {QuantityTag::SurfaceTension, 1, [](double v, double) { return v / 14.5939029067; }, [](double d, double) { return d * 14.5939029067; }},
    {QuantityTag::SurfaceTension, 2, [](double v, double) { return v; }, [](double d, double) { return d; }},

    {QuantityTag::Velocity, 0, [](double v, double) { return v * 60; }, [](double d, double) { return d / 60; }},
    {QuantityTag::Velocity, 1, [](double v, double) { return v; }, [](double d, double) { return d; }},
    {QuantityTag::Velocity, 2, [](double v, double) { return v * 18.288; }, [](double d, double) { return d / 18.288; }},
    {QuantityTag::Velocity, 3, [](double v, double) { return v * 0.3048; }, [](double d, double) { return d / 0.3048; }},

    {QuantityTag::JTCoefficient, 0, [](double v, double) { return v; }, [](double d, double) { return d; }},
    {QuantityTag::JTCoefficient, 1, [](double v, double) { return v / 12.410563122; }, [](double d, double) { return d * 12.410563122; }},
    {QuantityTag::JTCoefficient, 2, [](double v, double) { return v * 8.057652094; }, [](double d, double) { return d / 8.057652094; }},
};
// clang-format on

// Values with many significant digits, so that no factor can hide behind a short mantissa.
constexpr double kValues[] = {-1234.56789, -0.0123456789, 0.987654321, 77.7777, 98765.4321};
constexpr double kMw = 44.0970001;

TEST(UnitFormulas, EveryUnitOfEveryConvertedQuantityHasARow) {
    std::size_t expected = 0;
    for (QuantityTag tag :
         {QuantityTag::Temperature, QuantityTag::Pressure, QuantityTag::Volume,
          QuantityTag::MolarDensity, QuantityTag::Enthalpy, QuantityTag::HC, QuantityTag::Viscosity,
          QuantityTag::ThermalConductivity, QuantityTag::SurfaceTension, QuantityTag::Velocity,
          QuantityTag::JTCoefficient}) {
        expected += UnitNames(tag).size();
    }
    EXPECT_EQ(kRows.size(), expected);
}

TEST(UnitFormulas, ToDisplayIsTheFormulaRoundedTo32Bits) {
    for (const ConversionRow& row : kRows) {
        for (double v : kValues) {
            EXPECT_EQ(ToDisplay(row.tag, v, row.unit, kMw),
                      static_cast<float>(row.toDisplay(v, kMw)))
                << QuantityTagText(row.tag) << " unit " << row.unit << " v " << v;
        }
    }
}

TEST(UnitFormulas, FromDisplayIsTheInverseFormulaRoundedTo32Bits) {
    for (const ConversionRow& row : kRows) {
        for (double d : kValues) {
            EXPECT_EQ(FromDisplay(row.tag, d, row.unit, kMw),
                      static_cast<float>(row.fromDisplay(d, kMw)))
                << QuantityTagText(row.tag) << " unit " << row.unit << " d " << d;
        }
    }
}

TEST(UnitFormulas, SharedListsConvertAlike) {
    for (double v : kValues) {
        for (UnitIndex u = 0; u < 10; ++u) {
            EXPECT_EQ(ToDisplay(QuantityTag::VaporPressure, v, u), PressureToDisplay(v, u));
        }
        for (UnitIndex u = 0; u < 6; ++u) {
            EXPECT_EQ(ToDisplay(QuantityTag::Entropy, v, u, kMw), HeatCapacityToDisplay(v, u, kMw));
            EXPECT_EQ(FromDisplay(QuantityTag::Entropy, v, u, kMw),
                      HeatCapacityFromDisplay(v, u, kMw));
        }
    }
}

// The named operations are the ones the main window calls; each must agree with its row.
TEST(UnitFormulas, NamedOperationsAgreeWithTheirRows) {
    const double v = 77.7777;
    for (const ConversionRow& row : kRows) {
        const float expected = static_cast<float>(row.toDisplay(v, kMw));
        const float back = static_cast<float>(row.fromDisplay(v, kMw));
        const UnitIndex u = row.unit;
        switch (row.tag) {
        case QuantityTag::Temperature:
            EXPECT_EQ(TemperatureToDisplay(v, u), expected);
            EXPECT_EQ(TemperatureFromDisplay(v, u), back);
            break;
        case QuantityTag::Pressure:
            EXPECT_EQ(PressureToDisplay(v, u), expected);
            EXPECT_EQ(PressureFromDisplay(v, u), back);
            break;
        case QuantityTag::Volume:
            EXPECT_EQ(VolumeToDisplay(v, u, kMw), expected);
            EXPECT_EQ(VolumeFromDisplay(v, u, kMw), back);
            break;
        case QuantityTag::MolarDensity:
            EXPECT_EQ(DensityToDisplay(v, u, kMw), expected);
            EXPECT_EQ(DensityFromDisplay(v, u, kMw), back);
            break;
        case QuantityTag::Enthalpy:
            EXPECT_EQ(EnthalpyToDisplay(v, u, kMw), expected);
            EXPECT_EQ(EnthalpyFromDisplay(v, u, kMw), back);
            break;
        case QuantityTag::HC:
            EXPECT_EQ(HeatCapacityToDisplay(v, u, kMw), expected);
            EXPECT_EQ(HeatCapacityFromDisplay(v, u, kMw), back);
            break;
        case QuantityTag::Viscosity:
            EXPECT_EQ(ViscosityToDisplay(v, u), expected);
            EXPECT_EQ(ViscosityFromDisplay(v, u), back);
            break;
        case QuantityTag::ThermalConductivity:
            EXPECT_EQ(ThermalConductivityToDisplay(v, u), expected);
            EXPECT_EQ(ThermalConductivityFromDisplay(v, u), back);
            break;
        case QuantityTag::SurfaceTension:
            EXPECT_EQ(SurfaceTensionToDisplay(v, u), expected);
            EXPECT_EQ(SurfaceTensionFromDisplay(v, u), back);
            break;
        case QuantityTag::Velocity:
            EXPECT_EQ(VelocityToDisplay(v, u), expected);
            EXPECT_EQ(VelocityFromDisplay(v, u), back);
            break;
        case QuantityTag::JTCoefficient:
            EXPECT_EQ(JTToDisplay(v, u), expected);
            EXPECT_EQ(JTFromDisplay(v, u), back);
            break;
        default:
            ADD_FAILURE() << "no named operation for " << QuantityTagText(row.tag);
        }
    }
}

} // namespace
} // namespace quorvane
