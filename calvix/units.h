#pragma once

// The library's unit settings: seven codes held for the whole process, and the conversions
// between the caller's units and the internal ones (K, MPa, kJ/kg, kJ/(kg K), kg/m³ and
// the wetness for two-phase states).

#include <cstdint>
#include <optional>

namespace calvix {

enum class Quantity {
    Temperature,  // codes 1 to 3, default 1 (K)
    Pressure,     // codes 11 to 21, default 12 (MPa)
    Enthalpy,     // codes 31 to 33, default 32 (kJ/kg)
    Entropy,      // codes 51 to 53, default 52 (kJ/(kg K))
    Density,      // codes 71 and 72, default 71 (specific volume, m³/kg)
    WetDry,       // codes 91 and 92, default 91 (wetness)
    HeatCapacity, // codes 101 to 103, default 102 (kJ/(kg K))
};

// Stores the code and returns true when it lies in the quantity's accepted range;
// otherwise keeps the current code and returns false.
bool SetUnitCode(Quantity quantity, std::int32_t code);
std::int32_t UnitCode(Quantity quantity);

// Caller's value to internal units, and back, under the current code. Nothing when the
// conversion is undefined (a code outside its table, a zero specific volume, a result
// that is not a finite number).
std::optional<double> ToInternal(Quantity quantity, double value);
std::optional<double> FromInternal(Quantity quantity, double value);

} // namespace calvix
