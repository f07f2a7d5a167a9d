#pragma once

// Density searches in region 3, whose equation is written in density and temperature:
// the spinodal volumes that bound the liquid and vapour branches, the saturated densities
// between 623.15 K and the critical temperature, and the density at given (T, p).
// Units: T in K, p in MPa, v in m³/kg, ρ in kg/m³.

#include <optional>

namespace calvix {

// Bounds of the density searches: v = 0.0013 and 0.0089 m³/kg.
inline constexpr double kRegion3MaxDensity = 1.0 / 0.0013;
inline constexpr double kRegion3MinDensity = 1.0 / 0.0089;

// Volumes where (∂p/∂v)_T changes sign on the liquid and the vapour side, by 30 fixed
// halvings of [0.0013, 1/ρc] and [1/ρc, 0.0089]. Meant for 623.15 K ≤ T ≤ Tc.
double LiquidSpinodalVolume(double tK);
double VapourSpinodalVolume(double tK);

// Saturated liquid and vapour densities for 623.15 K ≤ T ≤ Tc; nothing outside that range
// or when the search fails.
std::optional<double> SaturatedLiquidDensity(double tK);
std::optional<double> SaturatedVapourDensity(double tK);

// How far a density search goes. Standard stops at the first density whose pressure is
// within 1e-5 MPa of the target. Precise goes on halving until the bracket cannot shrink
// any further, so that the density is a smooth function of T; searches nested inside a
// temperature bisection need that, since densities that jump by the standard tolerance
// make h and s jump by more than the temperature bisection's own tolerance.
enum class DensitySearch { Standard, Precise };

// Density at (T, p) for 623.15 K ≤ T ≤ T23(100 MPa) and p23(T) ≤ p ≤ 100 MPa; below Tc
// the branch is chosen by p against psat(T). Nothing outside that range or on failure.
std::optional<double> Region3Density(double tK, double pMPa,
                                     DensitySearch search = DensitySearch::Standard);

} // namespace calvix
