#pragma once

// What the water/steam calculator keeps between uses: whether it is shown, the formulation,
// which of its five given variables are ticked, and its values (given and computed) in the
// program's internal units, stored in 32 bits like every stored value. The calculator's
// temperature and pressure are its own: computing water properties never changes the
// mixture's state variables.

#include <array>
#include <cmath>

namespace quorvane {

// The calculator's values in field order (txtData 48 to 62). Internal units: °F, psia, vapour
// mass fraction, Btu/lbmol, Btu/(lbmol °F), ft³/lbmol, lbmol/ft³, Btu/(lbmol °F) (Cp, Cv), cP,
// Btu/(h ft °F), N/m, ft/s, and the two plain numbers Prandtl and Cp/Cv.
enum WaterField {
    kWaterTemp,
    kWaterPress,
    kWaterQuality,
    kWaterEnthalpy,
    kWaterEntropy,
    kWaterVolume,
    kWaterDensity,
    kWaterCp,
    kWaterCv,
    kWaterViscosity,
    kWaterConductivity,
    kWaterSurfaceTension,
    kWaterSonicVelocity,
    kWaterPrandtl,
    kWaterCpCv,
    kWaterFieldCount
};

inline constexpr int kWaterGivenCount = 5;  // temperature, pressure, quality, enthalpy, entropy
inline constexpr int kWaterFirstField = 48; // txtData index of kWaterTemp

enum class SteamFormulation { If97 = 0, Ifc67 = 1 };

struct WaterSteamState {
    bool shown = false; // chkSteam: the calculator is in use
    SteamFormulation formulation = SteamFormulation::If97;
    std::array<bool, kWaterGivenCount> given{true, true, false, false, false}; // chkStmInput
    // NaN where there is no value. Temperature and pressure start at 60 °F and one atmosphere,
    // the program's standard state.
    std::array<float, kWaterFieldCount> values = [] {
        std::array<float, kWaterFieldCount> v{};
        v.fill(NAN);
        v[kWaterTemp] = 60.0F;
        v[kWaterPress] = 14.6959F;
        return v;
    }();
    bool computed = false; // the values hold a completed state (until the next clearing)
};

} // namespace quorvane
