#pragma once

// States given by pressure with enthalpy or entropy: the phase classifiers and the
// temperature searches (backward equations in regions 1 and 2, bisection in regions 3
// and 5, the saturation temperature for two-phase states). Units: p in MPa, h in kJ/kg,
// s in kJ/(kg K), T in K.

#include <cstdint>
#include <optional>

namespace calvix {

// Phase codes of the classifiers; kErrorCode (constants.h) marks a state outside the
// formulation.
inline constexpr std::int32_t kPhaseLiquid = 1;           // region 1
inline constexpr std::int32_t kPhaseVapour = 2;           // region 2
inline constexpr std::int32_t kPhaseHotVapour = 5;        // region 5
inline constexpr std::int32_t kPhaseWet = 12;             // two-phase, Tsat ≤ 623.15 K
inline constexpr std::int32_t kPhaseSupercritical = 30;   // region 3, p ≥ pc
inline constexpr std::int32_t kPhaseDenseLiquid = 31;     // region 3, liquid side, p < pc
inline constexpr std::int32_t kPhaseDenseVapour = 32;     // region 3, vapour side, p < pc
inline constexpr std::int32_t kPhaseWetNearCritical = 33; // two-phase, Tsat > 623.15 K

std::int32_t ClassifyPh(double pMPa, double h);
std::int32_t ClassifyPs(double pMPa, double s);

bool IsTwoPhaseCode(std::int32_t code);

// Temperature from (p, h) or (p, s); nothing when the state is outside the formulation
// or a search fails.
std::optional<double> TemperaturePh(double pMPa, double h);
std::optional<double> TemperaturePs(double pMPa, double s);

} // namespace calvix
