#pragma once

// Assignment of a (T, p) state to a region of the formulation.

#include <cstdint>

namespace calvix {

// Region codes; kErrorCode (constants.h) marks a state outside the formulation.
inline constexpr std::int32_t kRegion1 = 1;
inline constexpr std::int32_t kRegion2 = 2;
inline constexpr std::int32_t kRegion3 = 3;
inline constexpr std::int32_t kRegion4 = 4; // exactly on the saturation line below Tc
inline constexpr std::int32_t kRegion5 = 5;

// T in K, p in MPa. Region 4 is returned only when p equals psat(T) exactly.
std::int32_t RegionOfTp(double tK, double pMPa);

// A (T, p) state just outside the range of the formulation (within the slack of limits.h)
// moved onto the nearest limit: 273.15 K, 1073.15 K above 10 MPa, 2273.15 K, 100 MPa, and
// 10 MPa above 1073.15 K. Any other state is returned unchanged.
struct TpState {
    double tK;
    double pMPa;
};
TpState OntoTpRange(double tK, double pMPa);

} // namespace calvix
