#pragma once

// Gas constants of the mixture properties. Three values are used on purpose: the volumetric
// constant of the equation of state, the energy constant of the departure functions, and
// the rounder value used by the driver's ideal-mixing and pressure terms of the entropy.

namespace quorvane {

inline constexpr double kGasConstantPvt = 10.731641;      // psia ft3 / (lb-mol R)
inline constexpr double kGasConstantDeparture = 1.987216; // Btu / (lb-mol R)
inline constexpr double kGasConstantMixing = 1.986;       // Btu / (lb-mol R)
inline constexpr double kAtmospherePsia = 14.696;

} // namespace quorvane
