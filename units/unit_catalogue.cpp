#include "units/unit_catalogue.h"

#include "common/precision.h"

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

// One step of a conversion from the internal unit to a display unit. The inverse conversion
// undoes the steps in reverse order, so each display unit is written once, as its formula reads.
enum class Op { None, Add, Subtract, Multiply, Divide, MultiplyByMw, DivideByMw };

struct Step {
    Op op = Op::None;
    double x = 0.0;
};

using Conversion = std::array<Step, 3>;

constexpr Conversion kSame{};
constexpr Conversion Times(double k) {
    return {Step{Op::Multiply, k}};
}
constexpr Conversion Over(double k) {
    return {Step{Op::Divide, k}};
}
constexpr Step kTimesMw{Op::MultiplyByMw};
constexpr Step kOverMw{Op::DivideByMw};

constexpr std::array kTemperature{
    kSame,
    Conversion{Step{Op::Subtract, 32.0}, Step{Op::Divide, 1.8}},
    Conversion{Step{Op::Add, kRankineOffset}},
    Conversion{Step{Op::Subtract, 32.0}, Step{Op::Divide, 1.8}, Step{Op::Add, 273.15}},
};
constexpr std::array kPressure{
    kSame,
    Over(kPsiaPerAtm),
    Times(kInHgPerPsia),
    Times(kInH2OPerPsia),
    Times(kMmHgPerPsia),
    Times(kPaPerPsia),
    Times(kKPaPerPsia),
    Over(kPsiaPerMPa),
    Times(kMbarPerPsia),
    Over(kPsiaPerBar),
};
constexpr std::array kVolume{
    kSame,
    Times(kCm3PerGmolPerFt3PerLbmol),
    Times(kM3PerKgmolPerFt3PerLbmol),
    Conversion{kOverMw},
    Conversion{kOverMw, Step{Op::Multiply, kCm3PerGmolPerFt3PerLbmol}},
    Conversion{kOverMw, Step{Op::Multiply, kM3PerKgmolPerFt3PerLbmol}},
};
constexpr std::array kMolarDensity{
    kSame,
    Over(kLbmolPerFt3PerGmolPerCm3),
    Times(kKgmolPerM3PerLbmolPerFt3),
    Conversion{kTimesMw},
    Conversion{kTimesMw, Step{Op::Multiply, kGmPerCm3PerLbmPerFt3}},
    Conversion{kTimesMw, Step{Op::Multiply, kKgmolPerM3PerLbmolPerFt3}},
};
constexpr std::array kEnthalpy{
    kSame,
    Times(kCalPerGmolPerBtuPerLbmol),
    Times(kKJPerKgmolPerBtuPerLbmol),
    Conversion{kOverMw},
    Conversion{Step{Op::Multiply, kCalPerGmolPerBtuPerLbmol}, kOverMw},
    Conversion{Step{Op::Multiply, kKJPerKgmolPerBtuPerLbmol}, kOverMw},
};
constexpr std::array kHeatCapacity{
    kSame,
    kSame, // 1 BTU/lbmol-°R = 1 cal/gmol-K
    Times(kKJPerKgmolKPerBtuPerLbmolR),
    Conversion{kOverMw},
    Conversion{kOverMw},
    Conversion{Step{Op::Multiply, kKJPerKgmolKPerBtuPerLbmolR}, kOverMw},
};
constexpr std::array kViscosity{kSame, Times(kLbmPerFtHrPerCp), Over(1000.0), Over(1000.0)};
constexpr std::array kThermalConductivity{kSame, Times(kKcalPerHrMKPerBtuPerHrFtR),
                                          Times(kWPerMKPerBtuPerHrFtR)};
constexpr std::array kSurfaceTension{Times(1000.0), Over(kNPerMPerLbfPerFt), kSame};
constexpr std::array kVelocity{Times(60.0), kSame, Times(kMPerMinPerFtPerS),
                               Times(kMPerSPerFtPerS)};
constexpr std::array kJT{kSame, Over(kFPerPsiPerCPerKPa), Times(kCPerBarPerFPerPsi)};

static_assert(kTemperature.size() == kTemperatureUnits.size());
static_assert(kPressure.size() == kPressureUnits.size());
static_assert(kVolume.size() == kVolumeUnits.size());
static_assert(kMolarDensity.size() == kMolarDensityUnits.size());
static_assert(kEnthalpy.size() == kEnthalpyUnits.size());
static_assert(kHeatCapacity.size() == kHeatCapacityUnits.size());
static_assert(kViscosity.size() == kViscosityUnits.size());
static_assert(kThermalConductivity.size() == kThermalConductivityUnits.size());
static_assert(kSurfaceTension.size() == kSurfaceTensionUnits.size());
static_assert(kVelocity.size() == kVelocityUnits.size());
static_assert(kJT.size() == kJTUnits.size());

// The conversions of a quantity, by unit index; empty for quantities without conversion.
std::span<const Conversion> Conversions(QuantityTag tag) {
    switch (tag) {
    case QuantityTag::Temperature:
        return kTemperature;
    case QuantityTag::Pressure:
    case QuantityTag::VaporPressure:
        return kPressure;
    case QuantityTag::Volume:
        return kVolume;
    case QuantityTag::MolarDensity:
        return kMolarDensity;
    case QuantityTag::Enthalpy:
        return kEnthalpy;
    case QuantityTag::HC:
    case QuantityTag::Entropy:
        return kHeatCapacity;
    case QuantityTag::Viscosity:
        return kViscosity;
    case QuantityTag::ThermalConductivity:
        return kThermalConductivity;
    case QuantityTag::SurfaceTension:
        return kSurfaceTension;
    case QuantityTag::Velocity:
        return kVelocity;
    case QuantityTag::JTCoefficient:
        return kJT;
    default:
        return {};
    }
}

// Mass-based units divide or multiply by the molecular weight; a phase without one has
// nothing to show.
double CheckedMw(double mw) {
    return (std::isfinite(mw) && mw > 0.0) ? mw : std::numeric_limits<double>::quiet_NaN();
}

double Apply(Step step, double v, double mw) {
    switch (step.op) {
    case Op::None:
        return v;
    case Op::Add:
        return v + step.x;
    case Op::Subtract:
        return v - step.x;
    case Op::Multiply:
        return v * step.x;
    case Op::Divide:
        return v / step.x;
    case Op::MultiplyByMw:
        return v * CheckedMw(mw);
    case Op::DivideByMw:
        return v / CheckedMw(mw);
    }
    return v;
}

Step Inverse(Step step) {
    switch (step.op) {
    case Op::Add:
        return {Op::Subtract, step.x};
    case Op::Subtract:
        return {Op::Add, step.x};
    case Op::Multiply:
        return {Op::Divide, step.x};
    case Op::Divide:
        return {Op::Multiply, step.x};
    case Op::MultiplyByMw:
        return {Op::DivideByMw};
    case Op::DivideByMw:
        return {Op::MultiplyByMw};
    case Op::None:
        break;
    }
    return step;
}

void CheckUnit(QuantityTag tag, UnitIndex unit) {
    if (unit < 0 || static_cast<std::size_t>(unit) >= UnitNames(tag).size()) {
        throw UnitIndexError(tag, unit);
    }
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

bool HasConversion(QuantityTag tag) {
    return !Conversions(tag).empty();
}

float ToDisplay(QuantityTag tag, double internalValue, UnitIndex unit, double mw) {
    CheckUnit(tag, unit);
    double v = internalValue;
    const auto conversions = Conversions(tag);
    if (!conversions.empty()) {
        for (Step step : conversions[static_cast<std::size_t>(unit)]) {
            v = Apply(step, v, mw);
        }
    }
    return ToSingle(v);
}

float FromDisplay(QuantityTag tag, double displayValue, UnitIndex unit, double mw) {
    CheckUnit(tag, unit);
    double v = displayValue;
    const auto conversions = Conversions(tag);
    if (!conversions.empty()) {
        const Conversion& steps = conversions[static_cast<std::size_t>(unit)];
        for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
            v = Apply(Inverse(*step), v, mw);
        }
    }
    return ToSingle(v);
}

// --- the named operations of each quantity ---------------------------------------------

float TemperatureToDisplay(double tempF, UnitIndex unit) {
    return ToDisplay(QuantityTag::Temperature, tempF, unit);
}
float PressureToDisplay(double pressPsia, UnitIndex unit) {
    return ToDisplay(QuantityTag::Pressure, pressPsia, unit);
}
float VolumeToDisplay(double volFt3PerLbmol, UnitIndex unit, double mw) {
    return ToDisplay(QuantityTag::Volume, volFt3PerLbmol, unit, mw);
}
float DensityToDisplay(double densLbmolPerFt3, UnitIndex unit, double mw) {
    return ToDisplay(QuantityTag::MolarDensity, densLbmolPerFt3, unit, mw);
}
float EnthalpyToDisplay(double enthBtuPerLbmol, UnitIndex unit, double mw) {
    return ToDisplay(QuantityTag::Enthalpy, enthBtuPerLbmol, unit, mw);
}
float HeatCapacityToDisplay(double cpBtuPerLbmolR, UnitIndex unit, double mw) {
    return ToDisplay(QuantityTag::HC, cpBtuPerLbmolR, unit, mw);
}
float ViscosityToDisplay(double viscCp, UnitIndex unit) {
    return ToDisplay(QuantityTag::Viscosity, viscCp, unit);
}
float ThermalConductivityToDisplay(double condBtuPerHrFtR, UnitIndex unit) {
    return ToDisplay(QuantityTag::ThermalConductivity, condBtuPerHrFtR, unit);
}
float SurfaceTensionToDisplay(double tensionNPerM, UnitIndex unit) {
    return ToDisplay(QuantityTag::SurfaceTension, tensionNPerM, unit);
}
float VelocityToDisplay(double velFtPerS, UnitIndex unit) {
    return ToDisplay(QuantityTag::Velocity, velFtPerS, unit);
}
float JTToDisplay(double jtFPerPsi, UnitIndex unit) {
    return ToDisplay(QuantityTag::JTCoefficient, jtFPerPsi, unit);
}

float TemperatureFromDisplay(double value, UnitIndex unit) {
    return FromDisplay(QuantityTag::Temperature, value, unit);
}
float PressureFromDisplay(double value, UnitIndex unit) {
    return FromDisplay(QuantityTag::Pressure, value, unit);
}
float EnthalpyFromDisplay(double value, UnitIndex unit, double mw) {
    return FromDisplay(QuantityTag::Enthalpy, value, unit, mw);
}
float HeatCapacityFromDisplay(double value, UnitIndex unit, double mw) {
    return FromDisplay(QuantityTag::HC, value, unit, mw);
}
float VolumeFromDisplay(double value, UnitIndex unit, double mw) {
    return FromDisplay(QuantityTag::Volume, value, unit, mw);
}
float DensityFromDisplay(double value, UnitIndex unit, double mw) {
    return FromDisplay(QuantityTag::MolarDensity, value, unit, mw);
}
float ViscosityFromDisplay(double value, UnitIndex unit) {
    return FromDisplay(QuantityTag::Viscosity, value, unit);
}
float ThermalConductivityFromDisplay(double value, UnitIndex unit) {
    return FromDisplay(QuantityTag::ThermalConductivity, value, unit);
}
float SurfaceTensionFromDisplay(double value, UnitIndex unit) {
    return FromDisplay(QuantityTag::SurfaceTension, value, unit);
}
float VelocityFromDisplay(double value, UnitIndex unit) {
    return FromDisplay(QuantityTag::Velocity, value, unit);
}
float JTFromDisplay(double value, UnitIndex unit) {
    return FromDisplay(QuantityTag::JTCoefficient, value, unit);
}

} // namespace quorvane
