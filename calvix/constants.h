#pragma once

// Constants of the industrial formulation (1997 release) and the range limits and failure
// values of the library. All internal work is in K, MPa, kJ/kg, kJ/(kg K) and kg/m³.

#include <cstdint>

namespace calvix {

inline constexpr double kGasConstant = 0.461526;  // R, kJ/(kg K)
inline constexpr double kCriticalTemp = 647.096;  // Tc, K
inline constexpr double kCriticalPress = 22.064;  // pc, MPa
inline constexpr double kCriticalDensity = 322.0; // ρc, kg/m³

inline constexpr double kMinTemp = 273.15;      // lower temperature of regions 1 to 4
inline constexpr double kRegion13Temp = 623.15; // region 1 / region 3 boundary temperature
inline constexpr double kMaxTemp25 = 1073.15;   // upper temperature of regions 1 to 3
inline constexpr double kMaxTemp = 2273.15;     // upper temperature of region 5
inline constexpr double kMaxPress = 100.0;      // upper pressure of regions 1 to 3, MPa
inline constexpr double kMaxPress5 = 10.0;      // upper pressure of region 5 (1997 release), MPa

// Results a caller receives when no answer can be given.
inline constexpr double kErrorValue = -99999.999;
inline constexpr std::int32_t kErrorCode = -99999;

} // namespace calvix
