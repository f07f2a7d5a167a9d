#pragma once

// The unit catalogue: for every displayed quantity the list of display units (in list order,
// which is also the stored unit index) and the conversions between the internal unit
// (English engineering units, temperatures in °F) and each display unit.
//
// Conversions run in 64 bits and return the 32-bit value the display and the engine hold.
// Mass-based units (per lbm, per gm, per kg) go through the molecular weight `mw` (lbm/lbmol)
// of the phase or stream whose value is shown.
//
// Out-of-range input: a unit index outside its list throws UnitIndexError; a mass-based unit
// with a molecular weight that is not a positive finite number yields NaN, which the number
// formatters render as an empty text (nothing sensible can be shown for a phase without mass).

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string_view>

namespace quorvane {

// A unit choice: index into the list of its quantity, counted from 0.
using UnitIndex = std::int16_t;

// The quantity tag of a unit selector; it chooses the selector's list of units.
// "Pressure" and "Vapor Pressure" share one list, and so do "HC" and "Entropy".
enum class QuantityTag {
    Temperature,
    Pressure,
    VaporPressure,
    Viscosity,
    SurfaceTension,
    FlowRate,
    Velocity,
    PressureDrop,
    PhaseFraction,
    MolecularWeight,
    Volume,
    MolarDensity,
    Enthalpy,
    HC,
    Entropy,
    ThermalConductivity,
    SpecificVolume,
    JTCoefficient,
};

// The tag text as the selectors carry it ("Temperature", "Vapor Pressure", "HC", ...).
std::string_view QuantityTagText(QuantityTag tag);
// The tag for a tag text; nullopt for an unknown text.
std::optional<QuantityTag> QuantityTagFromText(std::string_view text);

// The display names of the units of a quantity, in list order (index = UnitIndex).
std::span<const std::string_view> UnitNames(QuantityTag tag);

// Thrown for a unit index outside the list of its quantity.
class UnitIndexError : public std::out_of_range {
public:
    UnitIndexError(QuantityTag tag, int unit);
};

// Internal -> display. Internal units: °F, psia, ft³/lbmol, lbmol/ft³, BTU/lbmol,
// BTU/lbmol-°R, cP, BTU/hr-ft-°R, N/m, ft/s, °F/psi.
float TemperatureToDisplay(double tempF, UnitIndex unit);
float PressureToDisplay(double pressPsia, UnitIndex unit);
float VolumeToDisplay(double volFt3PerLbmol, UnitIndex unit, double mw);
float DensityToDisplay(double densLbmolPerFt3, UnitIndex unit, double mw);
float EnthalpyToDisplay(double enthBtuPerLbmol, UnitIndex unit, double mw);
float HeatCapacityToDisplay(double cpBtuPerLbmolR, UnitIndex unit, double mw); // also entropy
float ViscosityToDisplay(double viscCp, UnitIndex unit);
float ThermalConductivityToDisplay(double condBtuPerHrFtR, UnitIndex unit);
float SurfaceTensionToDisplay(double tensionNPerM, UnitIndex unit);
float VelocityToDisplay(double velFtPerS, UnitIndex unit);
float JTToDisplay(double jtFPerPsi, UnitIndex unit);

// Display -> internal: the exact inverse of the same row (typed inputs use the first four).
float TemperatureFromDisplay(double value, UnitIndex unit);
float PressureFromDisplay(double value, UnitIndex unit);
float EnthalpyFromDisplay(double value, UnitIndex unit, double mw);
float HeatCapacityFromDisplay(double value, UnitIndex unit, double mw);
float VolumeFromDisplay(double value, UnitIndex unit, double mw);
float DensityFromDisplay(double value, UnitIndex unit, double mw);
float ViscosityFromDisplay(double value, UnitIndex unit);
float ThermalConductivityFromDisplay(double value, UnitIndex unit);
float SurfaceTensionFromDisplay(double value, UnitIndex unit);
float VelocityFromDisplay(double value, UnitIndex unit);
float JTFromDisplay(double value, UnitIndex unit);

// Whether the quantity has a conversion at all. "Flow Rate", "Pressure Drop", "Phase Fraction"
// (a basis, see fractions.h), "Molecular Weight" (the same number in every unit) and
// "Specific Volume" (the steam calculator's own units) only record the choice.
bool HasConversion(QuantityTag tag);

// Dispatch by tag, for code that redisplays a whole group of values of one selector.
// "Vapor Pressure" converts as "Pressure", "Entropy" as "HC". Quantities without a conversion
// (HasConversion false) return the value unchanged, rounded to 32 bits. `mw` is read only by
// mass-based units.
float ToDisplay(QuantityTag tag, double internalValue, UnitIndex unit, double mw = 0.0);
float FromDisplay(QuantityTag tag, double displayValue, UnitIndex unit, double mw = 0.0);

} // namespace quorvane
