#include "units/unit_catalogue.h"

#include "engine/precision.h"

#include <array>
#include <cmath>
#include <limits>
#include <string>

namespace quorvane {

namespace {

using namespace std::string_view_literals;

constexpr std::array kTemperatureUnits{"°F"sv, "°C"sv, "°R"sv, "K"sv};
constexpr std::array kPressureUnits{"psia"sv, "atm"sv, "inHg"sv, "inH2O"sv, "mmHg"sv,
                                    "Pa"sv,   "kPa"sv, "MPa"sv,  "mbar"sv,  "Bar"sv};
constexpr std::array kViscosityUnits{"cP"sv, "lbm/ft-hr"sv, "kg/m-s"sv, "N-s/m²"sv};
constexpr std::array kSurfaceTensionUnits{"dyn/cm"sv, "lbf/ft"sv, "N/m"sv};
constexpr std::array kFlowRateUnits{"lbm/hr"sv, "lbm/min"sv, "lbm/s"sv,
                                    "kg/hr"sv,  "kg/min"sv,  "kg/s"sv};
constexpr std::array kVelocityUnits{"ft/min"sv, "ft/s"sv, "m/min"sv, "m/s"sv};
// "kPa" comes before "Pa" here, unlike the pressure list.
constexpr std::array kPressureDropUnits{"psi"sv,  "atm"sv, "inHg"sv, "inH2O"sv,
                                        "mmHg"sv, "kPa"sv, "Pa"sv,   "Bar"sv};
constexpr std::array kPhaseFractionUnits{"Mole Fraction"sv, "Mass Fraction"sv};
constexpr std::array kMolecularWeightUnits{"lbm/lbmol"sv, "gm/gmol"sv, "kg/kgmol"sv};
constexpr std::array kVolumeUnits{"ft³/lbmol"sv, "cm³/gmol"sv, "m³/kgmol"sv,
                                  "ft³/lbm"sv,   "cm³/gm"sv,   "m³/kg"sv};
constexpr std::array kMolarDensityUnits{"lbmol/ft³"sv, "gmol/cm³"sv, "kgmol/m³"sv,
                                        "lbm/ft³"sv,   "gm/cm³"sv,   "kg/m³"sv};
constexpr std::array kEnthalpyUnits{"BTU/lbmol"sv, "cal/gmol"sv, "kJ/kgmol"sv,
                                    "BTU/lbm"sv,   "cal/gm"sv,   "kJ/kg"sv};
constexpr std::array kHeatCapacityUnits{"BTU/lbmol-°R"sv, "cal/gmol-K"sv, "kJ/kgmol-K"sv,
                                        "BTU/lbm-°R"sv,   "cal/gm-K"sv,   "kJ/kg-K"sv};
constexpr std::array kThermalConductivityUnits{"BTU/hr-ft-°R"sv, "kcal/hr-m-K"sv, "W/m-K"sv};
constexpr std::array kSpecificVolumeUnits{"ft³/lbm"sv, "cm³/gm"sv, "m³/kg"sv};
constexpr std::array kJTUnits{"°F/psi"sv, "°C/kPa"sv, "°C/Bar"sv};

struct TagText {
    QuantityTag tag;
    std::string_view text;
};
constexpr std::array kTagTexts{
    TagText{QuantityTag::Temperature, "Temperature"},
    TagText{QuantityTag::Pressure, "Pressure"},
    TagText{QuantityTag::VaporPressure, "Vapor Pressure"},
    TagText{QuantityTag::Viscosity, "Viscosity"},
    TagText{QuantityTag::SurfaceTension, "Surface Tension"},
    TagText{QuantityTag::FlowRate, "Flow Rate"},
    TagText{QuantityTag::Velocity, "Velocity"},
    TagText{QuantityTag::PressureDrop, "Pressure Drop"},
    TagText{QuantityTag::PhaseFraction, "Phase Fraction"},
    TagText{QuantityTag::MolecularWeight, "Molecular Weight"},
    TagText{QuantityTag::Volume, "Volume"},
    TagText{QuantityTag::MolarDensity, "Molar Density"},
    TagText{QuantityTag::Enthalpy, "Enthalpy"},
    TagText{QuantityTag::HC, "HC"},
    TagText{QuantityTag::Entropy, "Entropy"},
    TagText{QuantityTag::ThermalConductivity, "Thermal Conductivity"},
    TagText{QuantityTag::SpecificVolume, "Specific Volume"},
    TagText{QuantityTag::JTCoefficient, "JT Coefficient"},
};

// Conversion factors between the internal unit and the display units.
constexpr double kPsiaPerAtm = 14.6959487755;
constexpr double kInHgPerPsia = 2.036020862;
constexpr double kInH2OPerPsia = 27.679903968;
constexpr double kMmHgPerPsia = 51.714932572;
constexpr double kPaPerPsia = 6894.757293;
constexpr double kKPaPerPsia = 6.894757293;
constexpr double kPsiaPerMPa = 145.03773773;
constexpr double kMbarPerPsia = 68.94757293;
constexpr double kPsiaPerBar = 14.50377377;
constexpr double kRankineOffset = 459.69; // display °R; the equation of state uses 459.67
constexpr double kCm3PerGmolPerFt3PerLbmol = 62.428212076;
constexpr double kM3PerKgmolPerFt3PerLbmol = 0.0624279606;
constexpr double kLbmolPerFt3PerGmolPerCm3 = 62.42796058;
constexpr double kKgmolPerM3PerLbmolPerFt3 = 16.018463373;
constexpr double kGmPerCm3PerLbmPerFt3 = 0.0160184634;
constexpr double kCalPerGmolPerBtuPerLbmol = 0.5555640044;
constexpr double kKJPerKgmolPerBtuPerLbmol = 2.3259999996;
constexpr double kKJPerKgmolKPerBtuPerLbmolR = 4.1867999935;
constexpr double kLbmPerFtHrPerCp = 2.4190883105;
constexpr double kKcalPerHrMKPerBtuPerHrFtR = 1.487939;
constexpr double kWPerMKPerBtuPerHrFtR = 1.729195385;
constexpr double kNPerMPerLbfPerFt = 14.5939029067;
constexpr double kMPerMinPerFtPerS = 18.288;
constexpr double kMPerSPerFtPerS = 0.3048;
constexpr double kFPerPsiPerCPerKPa = 12.410563122;
constexpr double kCPerBarPerFPerPsi = 8.057652094;

// Mass-based units divide or multiply by the molecular weight; a phase without one has
// nothing to show.
double CheckedMw(double mw) {
    return (std::isfinite(mw) && mw > 0.0) ? mw : std::numeric_limits<double>::quiet_NaN();
}

[[noreturn]] void BadUnit(QuantityTag tag, UnitIndex unit) {
    throw UnitIndexError(tag, unit);
}

} // namespace

UnitIndexError::UnitIndexError(QuantityTag tag, int unit)
    : std::out_of_range("unit index " + std::to_string(unit) + " is not in the list of \"" +
                        std::string(QuantityTagText(tag)) + "\"") {}

std::string_view QuantityTagText(QuantityTag tag) {
    for (const auto& t : kTagTexts) {
        if (t.tag == tag) {
            return t.text;
        }
    }
    return {};
}

std::optional<QuantityTag> QuantityTagFromText(std::string_view text) {
    for (const auto& t : kTagTexts) {
        if (t.text == text) {
            return t.tag;
        }
    }
    return std::nullopt;
}

std::span<const std::string_view> UnitNames(QuantityTag tag) {
    switch (tag) {
    case QuantityTag::Temperature:
        return kTemperatureUnits;
    case QuantityTag::Pressure:
    case QuantityTag::VaporPressure:
        return kPressureUnits;
    case QuantityTag::Viscosity:
        return kViscosityUnits;
    case QuantityTag::SurfaceTension:
        return kSurfaceTensionUnits;
    case QuantityTag::FlowRate:
        return kFlowRateUnits;
    case QuantityTag::Velocity:
        return kVelocityUnits;
    case QuantityTag::PressureDrop:
        return kPressureDropUnits;
    case QuantityTag::PhaseFraction:
        return kPhaseFractionUnits;
    case QuantityTag::MolecularWeight:
        return kMolecularWeightUnits;
    case QuantityTag::Volume:
        return kVolumeUnits;
    case QuantityTag::MolarDensity:
        return kMolarDensityUnits;
    case QuantityTag::Enthalpy:
        return kEnthalpyUnits;
    case QuantityTag::HC:
    case QuantityTag::Entropy:
        return kHeatCapacityUnits;
    case QuantityTag::ThermalConductivity:
        return kThermalConductivityUnits;
    case QuantityTag::SpecificVolume:
        return kSpecificVolumeUnits;
    case QuantityTag::JTCoefficient:
        return kJTUnits;
    }
    return {};
}

// --- internal -> display ---------------------------------------------------------------

float TemperatureToDisplay(double tempF, UnitIndex unit) {
    switch (unit) {
    case 0:
        return ToSingle(tempF);
    case 1:
        return ToSingle((tempF - 32.0) / 1.8);
    case 2:
        return ToSingle(tempF + kRankineOffset);
    case 3:
        return ToSingle((tempF - 32.0) / 1.8 + 273.15);
    default:
        BadUnit(QuantityTag::Temperature, unit);
    }
}

float PressureToDisplay(double pressPsia, UnitIndex unit) {
    switch (unit) {
    case 0:
        return ToSingle(pressPsia);
    case 1:
        return ToSingle(pressPsia / kPsiaPerAtm);
    case 2:
        return ToSingle(pressPsia * kInHgPerPsia);
    case 3:
        return ToSingle(pressPsia * kInH2OPerPsia);
    case 4:
        return ToSingle(pressPsia * kMmHgPerPsia);
    case 5:
        return ToSingle(pressPsia * kPaPerPsia);
    case 6:
        return ToSingle(pressPsia * kKPaPerPsia);
    case 7:
        return ToSingle(pressPsia / kPsiaPerMPa);
    case 8:
        return ToSingle(pressPsia * kMbarPerPsia);
    case 9:
        return ToSingle(pressPsia / kPsiaPerBar);
    default:
        BadUnit(QuantityTag::Pressure, unit);
    }
}

float VolumeToDisplay(double volFt3PerLbmol, UnitIndex unit, double mw) {
    const double v = volFt3PerLbmol;
    switch (unit) {
    case 0:
        return ToSingle(v);
    case 1:
        return ToSingle(v * kCm3PerGmolPerFt3PerLbmol);
    case 2:
        return ToSingle(v * kM3PerKgmolPerFt3PerLbmol);
    case 3:
        return ToSingle(v / CheckedMw(mw));
    case 4:
        return ToSingle(v / CheckedMw(mw) * kCm3PerGmolPerFt3PerLbmol);
    case 5:
        return ToSingle(v / CheckedMw(mw) * kM3PerKgmolPerFt3PerLbmol);
    default:
        BadUnit(QuantityTag::Volume, unit);
    }
}

float DensityToDisplay(double densLbmolPerFt3, UnitIndex unit, double mw) {
    const double v = densLbmolPerFt3;
    switch (unit) {
    case 0:
        return ToSingle(v);
    case 1:
        return ToSingle(v / kLbmolPerFt3PerGmolPerCm3);
    case 2:
        return ToSingle(v * kKgmolPerM3PerLbmolPerFt3);
    case 3:
        return ToSingle(v * CheckedMw(mw));
    case 4:
        return ToSingle(v * CheckedMw(mw) * kGmPerCm3PerLbmPerFt3);
    case 5:
        return ToSingle(v * CheckedMw(mw) * kKgmolPerM3PerLbmolPerFt3);
    default:
        BadUnit(QuantityTag::MolarDensity, unit);
    }
}

float EnthalpyToDisplay(double enthBtuPerLbmol, UnitIndex unit, double mw) {
    const double v = enthBtuPerLbmol;
    switch (unit) {
    case 0:
        return ToSingle(v);
    case 1:
        return ToSingle(v * kCalPerGmolPerBtuPerLbmol);
    case 2:
        return ToSingle(v * kKJPerKgmolPerBtuPerLbmol);
    case 3:
        return ToSingle(v / CheckedMw(mw));
    case 4:
        return ToSingle(v * kCalPerGmolPerBtuPerLbmol / CheckedMw(mw));
    case 5:
        return ToSingle(v * kKJPerKgmolPerBtuPerLbmol / CheckedMw(mw));
    default:
        BadUnit(QuantityTag::Enthalpy, unit);
    }
}

float HeatCapacityToDisplay(double cpBtuPerLbmolR, UnitIndex unit, double mw) {
    const double v = cpBtuPerLbmolR;
    switch (unit) {
    case 0:
    case 1: // 1 BTU/lbmol-°R = 1 cal/gmol-K
        return ToSingle(v);
    case 2:
        return ToSingle(v * kKJPerKgmolKPerBtuPerLbmolR);
    case 3:
    case 4:
        return ToSingle(v / CheckedMw(mw));
    case 5:
        return ToSingle(v * kKJPerKgmolKPerBtuPerLbmolR / CheckedMw(mw));
    default:
        BadUnit(QuantityTag::HC, unit);
    }
}

float ViscosityToDisplay(double viscCp, UnitIndex unit) {
    switch (unit) {
    case 0:
        return ToSingle(viscCp);
    case 1:
        return ToSingle(viscCp * kLbmPerFtHrPerCp);
    case 2:
    case 3:
        return ToSingle(viscCp / 1000.0);
    default:
        BadUnit(QuantityTag::Viscosity, unit);
    }
}

float ThermalConductivityToDisplay(double condBtuPerHrFtR, UnitIndex unit) {
    switch (unit) {
    case 0:
        return ToSingle(condBtuPerHrFtR);
    case 1:
        return ToSingle(condBtuPerHrFtR * kKcalPerHrMKPerBtuPerHrFtR);
    case 2:
        return ToSingle(condBtuPerHrFtR * kWPerMKPerBtuPerHrFtR);
    default:
        BadUnit(QuantityTag::ThermalConductivity, unit);
    }
}

float SurfaceTensionToDisplay(double tensionNPerM, UnitIndex unit) {
    switch (unit) {
    case 0:
        return ToSingle(tensionNPerM * 1000.0);
    case 1:
        return ToSingle(tensionNPerM / kNPerMPerLbfPerFt);
    case 2:
        return ToSingle(tensionNPerM);
    default:
        BadUnit(QuantityTag::SurfaceTension, unit);
    }
}

float VelocityToDisplay(double velFtPerS, UnitIndex unit) {
    switch (unit) {
    case 0:
        return ToSingle(velFtPerS * 60.0);
    case 1:
        return ToSingle(velFtPerS);
    case 2:
        return ToSingle(velFtPerS * kMPerMinPerFtPerS);
    case 3:
        return ToSingle(velFtPerS * kMPerSPerFtPerS);
    default:
        BadUnit(QuantityTag::Velocity, unit);
    }
}

float JTToDisplay(double jtFPerPsi, UnitIndex unit) {
    switch (unit) {
    case 0:
        return ToSingle(jtFPerPsi);
    case 1:
        return ToSingle(jtFPerPsi / kFPerPsiPerCPerKPa);
    case 2:
        return ToSingle(jtFPerPsi * kCPerBarPerFPerPsi);
    default:
        BadUnit(QuantityTag::JTCoefficient, unit);
    }
}

// --- display -> internal: each row inverted ----------------------------------------------

float TemperatureFromDisplay(double value, UnitIndex unit) {
    switch (unit) {
    case 0:
        return ToSingle(value);
    case 1:
        return ToSingle(value * 1.8 + 32.0);
    case 2:
        return ToSingle(value - kRankineOffset);
    case 3:
        return ToSingle((value - 273.15) * 1.8 + 32.0);
    default:
        BadUnit(QuantityTag::Temperature, unit);
    }
}

float PressureFromDisplay(double value, UnitIndex unit) {
    switch (unit) {
    case 0:
        return ToSingle(value);
    case 1:
        return ToSingle(value * kPsiaPerAtm);
    case 2:
        return ToSingle(value / kInHgPerPsia);
    case 3:
        return ToSingle(value / kInH2OPerPsia);
    case 4:
        return ToSingle(value / kMmHgPerPsia);
    case 5:
        return ToSingle(value / kPaPerPsia);
    case 6:
        return ToSingle(value / kKPaPerPsia);
    case 7:
        return ToSingle(value * kPsiaPerMPa);
    case 8:
        return ToSingle(value / kMbarPerPsia);
    case 9:
        return ToSingle(value * kPsiaPerBar);
    default:
        BadUnit(QuantityTag::Pressure, unit);
    }
}

float VolumeFromDisplay(double value, UnitIndex unit, double mw) {
    switch (unit) {
    case 0:
        return ToSingle(value);
    case 1:
        return ToSingle(value / kCm3PerGmolPerFt3PerLbmol);
    case 2:
        return ToSingle(value / kM3PerKgmolPerFt3PerLbmol);
    case 3:
        return ToSingle(value * CheckedMw(mw));
    case 4:
        return ToSingle(value / kCm3PerGmolPerFt3PerLbmol * CheckedMw(mw));
    case 5:
        return ToSingle(value / kM3PerKgmolPerFt3PerLbmol * CheckedMw(mw));
    default:
        BadUnit(QuantityTag::Volume, unit);
    }
}

float DensityFromDisplay(double value, UnitIndex unit, double mw) {
    switch (unit) {
    case 0:
        return ToSingle(value);
    case 1:
        return ToSingle(value * kLbmolPerFt3PerGmolPerCm3);
    case 2:
        return ToSingle(value / kKgmolPerM3PerLbmolPerFt3);
    case 3:
        return ToSingle(value / CheckedMw(mw));
    case 4:
        return ToSingle(value / kGmPerCm3PerLbmPerFt3 / CheckedMw(mw));
    case 5:
        return ToSingle(value / kKgmolPerM3PerLbmolPerFt3 / CheckedMw(mw));
    default:
        BadUnit(QuantityTag::MolarDensity, unit);
    }
}

float EnthalpyFromDisplay(double value, UnitIndex unit, double mw) {
    switch (unit) {
    case 0:
        return ToSingle(value);
    case 1:
        return ToSingle(value / kCalPerGmolPerBtuPerLbmol);
    case 2:
        return ToSingle(value / kKJPerKgmolPerBtuPerLbmol);
    case 3:
        return ToSingle(value * CheckedMw(mw));
    case 4:
        return ToSingle(value / kCalPerGmolPerBtuPerLbmol * CheckedMw(mw));
    case 5:
        return ToSingle(value / kKJPerKgmolPerBtuPerLbmol * CheckedMw(mw));
    default:
        BadUnit(QuantityTag::Enthalpy, unit);
    }
}

float HeatCapacityFromDisplay(double value, UnitIndex unit, double mw) {
    switch (unit) {
    case 0:
    case 1:
        return ToSingle(value);
    case 2:
        return ToSingle(value / kKJPerKgmolKPerBtuPerLbmolR);
    case 3:
    case 4:
        return ToSingle(value * CheckedMw(mw));
    case 5:
        return ToSingle(value / kKJPerKgmolKPerBtuPerLbmolR * CheckedMw(mw));
    default:
        BadUnit(QuantityTag::HC, unit);
    }
}

float ViscosityFromDisplay(double value, UnitIndex unit) {
    switch (unit) {
    case 0:
        return ToSingle(value);
    case 1:
        return ToSingle(value / kLbmPerFtHrPerCp);
    case 2:
    case 3:
        return ToSingle(value * 1000.0);
    default:
        BadUnit(QuantityTag::Viscosity, unit);
    }
}

float ThermalConductivityFromDisplay(double value, UnitIndex unit) {
    switch (unit) {
    case 0:
        return ToSingle(value);
    case 1:
        return ToSingle(value / kKcalPerHrMKPerBtuPerHrFtR);
    case 2:
        return ToSingle(value / kWPerMKPerBtuPerHrFtR);
    default:
        BadUnit(QuantityTag::ThermalConductivity, unit);
    }
}

float SurfaceTensionFromDisplay(double value, UnitIndex unit) {
    switch (unit) {
    case 0:
        return ToSingle(value / 1000.0);
    case 1:
        return ToSingle(value * kNPerMPerLbfPerFt);
    case 2:
        return ToSingle(value);
    default:
        BadUnit(QuantityTag::SurfaceTension, unit);
    }
}

float VelocityFromDisplay(double value, UnitIndex unit) {
    switch (unit) {
    case 0:
        return ToSingle(value / 60.0);
    case 1:
        return ToSingle(value);
    case 2:
        return ToSingle(value / kMPerMinPerFtPerS);
    case 3:
        return ToSingle(value / kMPerSPerFtPerS);
    default:
        BadUnit(QuantityTag::Velocity, unit);
    }
}

float JTFromDisplay(double value, UnitIndex unit) {
    switch (unit) {
    case 0:
        return ToSingle(value);
    case 1:
        return ToSingle(value * kFPerPsiPerCPerKPa);
    case 2:
        return ToSingle(value / kCPerBarPerFPerPsi);
    default:
        BadUnit(QuantityTag::JTCoefficient, unit);
    }
}

// --- dispatch by tag -------------------------------------------------------------------

bool HasConversion(QuantityTag tag) {
    switch (tag) {
    case QuantityTag::FlowRate:
    case QuantityTag::PressureDrop:
    case QuantityTag::PhaseFraction:
    case QuantityTag::MolecularWeight:
    case QuantityTag::SpecificVolume:
        return false;
    default:
        return true;
    }
}

namespace {

// Quantities without a conversion only check the index against their list.
float Unconverted(QuantityTag tag, double value, UnitIndex unit) {
    if (unit < 0 || static_cast<std::size_t>(unit) >= UnitNames(tag).size()) {
        BadUnit(tag, unit);
    }
    return ToSingle(value);
}

} // namespace

float ToDisplay(QuantityTag tag, double internalValue, UnitIndex unit, double mw) {
    const double v = internalValue;
    switch (tag) {
    case QuantityTag::Temperature:
        return TemperatureToDisplay(v, unit);
    case QuantityTag::Pressure:
    case QuantityTag::VaporPressure:
        return PressureToDisplay(v, unit);
    case QuantityTag::Viscosity:
        return ViscosityToDisplay(v, unit);
    case QuantityTag::SurfaceTension:
        return SurfaceTensionToDisplay(v, unit);
    case QuantityTag::Velocity:
        return VelocityToDisplay(v, unit);
    case QuantityTag::Volume:
        return VolumeToDisplay(v, unit, mw);
    case QuantityTag::MolarDensity:
        return DensityToDisplay(v, unit, mw);
    case QuantityTag::Enthalpy:
        return EnthalpyToDisplay(v, unit, mw);
    case QuantityTag::HC:
    case QuantityTag::Entropy:
        return HeatCapacityToDisplay(v, unit, mw);
    case QuantityTag::ThermalConductivity:
        return ThermalConductivityToDisplay(v, unit);
    case QuantityTag::JTCoefficient:
        return JTToDisplay(v, unit);
    default:
        return Unconverted(tag, v, unit);
    }
}

float FromDisplay(QuantityTag tag, double displayValue, UnitIndex unit, double mw) {
    const double v = displayValue;
    switch (tag) {
    case QuantityTag::Temperature:
        return TemperatureFromDisplay(v, unit);
    case QuantityTag::Pressure:
    case QuantityTag::VaporPressure:
        return PressureFromDisplay(v, unit);
    case QuantityTag::Viscosity:
        return ViscosityFromDisplay(v, unit);
    case QuantityTag::SurfaceTension:
        return SurfaceTensionFromDisplay(v, unit);
    case QuantityTag::Velocity:
        return VelocityFromDisplay(v, unit);
    case QuantityTag::Volume:
        return VolumeFromDisplay(v, unit, mw);
    case QuantityTag::MolarDensity:
        return DensityFromDisplay(v, unit, mw);
    case QuantityTag::Enthalpy:
        return EnthalpyFromDisplay(v, unit, mw);
    case QuantityTag::HC:
    case QuantityTag::Entropy:
        return HeatCapacityFromDisplay(v, unit, mw);
    case QuantityTag::ThermalConductivity:
        return ThermalConductivityFromDisplay(v, unit);
    case QuantityTag::JTCoefficient:
        return JTFromDisplay(v, unit);
    default:
        return Unconverted(tag, v, unit);
    }
}

} // namespace quorvane
