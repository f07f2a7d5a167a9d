#pragma once

// Inside the water/steam calculator: the state each formulation completes from a pair of given
// variables, its heat capacities, and the conversions between the libraries' working units and
// the program's internal units.

#include "app/water/steam_calculator.h"

#include <cmath>

namespace quorvane::steam {

// Multiply a library value by these to get internal units; divide to go the other way.
inline constexpr double kPsiaPerAtm = 14.6959486;
inline constexpr double kMolarVolumePerSpecific = 288.57773;    // ft³/lbmol per m³/kg
inline constexpr double kEnthalpyPerJPerKg = 0.0077451761;      // Btu/lbmol per J/kg
inline constexpr double kEntropyPerJPerKgK = 0.0043028761;      // Btu/(lbmol °F) per J/(kg K)
inline constexpr double kHeatCapacityPerKjPerKgK = 4.302880488; // Btu/(lbmol °F) per kJ/(kg K)
inline constexpr double kJPerKgKPerHeatCapacity =
    232.402713; // Dornel's J/(kg K) per Btu/(lbmol °F)
inline constexpr double kFtPerM = 3.280839895;
// The heat-capacity routines take pressure with more digits.
inline constexpr double kPsiaPerAtmPrecise = 14.6959487755;
inline constexpr double kPsiaPerAtmRange = 14.696; // the range limits of pressure

// The libraries' answers when they cannot give a value.
inline constexpr double kCalvixError = -99999.999;
inline constexpr double kDornelError = -9999.0;

// The quality band of a two-phase state; outside it a state counts as single-phase (liquid
// below, vapour above).
inline constexpr double kTwoPhaseLow = 0.0001;
inline constexpr double kTwoPhaseHigh = 0.9999;

// The completed state in internal units; NaN where a library gave its error value.
struct SteamState {
    double tempF = NAN;
    double pressPsia = NAN;
    double quality = NAN;
    double enthalpy = NAN;
    double entropy = NAN;
    double volume = NAN;
    bool saturated = false; // on the saturation line: its pressure is that of its temperature
};

inline bool IsTwoPhase(double quality) {
    return quality >= kTwoPhaseLow && quality <= kTwoPhaseHigh;
}

struct HeatCapacities {
    double cp = NAN;
    double cv = NAN;
};

// The state of each formulation. Throws SteamRefusal for the superheated and compressed
// liquid states of (T, H) and (T, S) (and (P, H) under IFC-67).
SteamState CompleteIf97(SteamLibrary::Session& calvix, const SteamGiven& given);
SteamState CompleteIfc67(SteamLibrary::Session& dornel, const SteamGiven& given);

HeatCapacities If97HeatCapacities(SteamLibrary::Session& calvix, const SteamState& state);
HeatCapacities Ifc67HeatCapacities(SteamLibrary::Session& dornel, SteamLibrary::Session& calvix,
                                   const SteamState& state);

// Calvix's Cv (both formulations take it from IF97) and speed of sound, at the state's own
// pressure or, on the saturation line, just on the side of it the state lies on.
double CalvixCv(SteamLibrary::Session& calvix, const SteamState& state);
double CalvixSonicVelocity(SteamLibrary::Session& calvix, const SteamState& state);

// Quality of a single-phase state at (T, P) given the saturation temperature there (NaN when
// the pressure has none): 1 above it, else 0. Above the critical pressure 1 above the critical
// temperature; below the lowest saturation pressure always 1 (only vapour exists there).
double SinglePhaseQuality(double tempF, double pressPsia, double tSatF, double criticalTempF,
                          double criticalPressPsia);

// A temperature found from (P, H) or (P, S) kept on the side of the saturation temperature the
// state lies on (the backward equations can miss by some millikelvin and cross it).
double OnSide(double tempF, double tSatF, bool vapour);

// The given enthalpy (J/kg) or entropy (J/(kg K)) in the libraries' units, and the state with
// that given value set.
inline double GivenRaw(const SteamGiven& given, bool enthalpyGiven) {
    return enthalpyGiven ? given.enthalpy / kEnthalpyPerJPerKg : given.entropy / kEntropyPerJPerKgK;
}
inline void SetGiven(SteamState& st, const SteamGiven& given, bool enthalpyGiven) {
    if (enthalpyGiven) {
        st.enthalpy = given.enthalpy;
    } else {
        st.entropy = given.entropy;
    }
}

// A given enthalpy or entropy (in a library's units) within the rounding of its 32-bit storage
// of a saturated end is taken as that end, so that a saturated state the calculator showed and
// is given back is found again rather than called superheated or compressed liquid. Ends that
// are not values (NaN) leave it unchanged.
double OntoSaturatedEnds(double value, double liquid, double vapour);

// The same for a value given with the temperature, which must lie between the ends: above the
// vapour's (or when the temperature has no saturated states) the state is refused as
// superheated steam, below the liquid's as compressed liquid.
double WithinSaturatedEnds(double value, double liquid, double vapour);

[[noreturn]] void RefuseCompressedLiquid();

// Cp of the saturated liquid from its enthalpy h(T) (Btu/lbmol) over a degree around T, or
// from 32 to 32.2 °F near freezing (`lowestF`, the lowest temperature the formulation accepts,
// when that is above 32 °F); NaN where an enthalpy is missing.
//
// Its Cv is not formed the same way: the slope of u = h − Pv along the saturation line is
// close to Cp (it gives Cv = Cp, Cp/Cv = 1.00, for water at 212 °F, where Cp/Cv is 1.12), so
// the saturated liquid takes the formulation's own Cv of liquid water at that state.
template <class Enthalpy>
double SaturatedLiquidCp(double tempF, double lowestF, Enthalpy h) {
    constexpr double kNearFreezingF = 33.0;
    const bool nearFreezing = tempF <= kNearFreezingF;
    const double low = nearFreezing ? std::fmax(32.0, lowestF) : tempF - 0.5;
    const double high = nearFreezing ? 32.2 : tempF + 0.5;
    return (h(high) - h(low)) / (high - low);
}

} // namespace quorvane::steam
