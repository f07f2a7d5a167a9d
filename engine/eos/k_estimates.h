#pragma once

#include <array>
#include <cstdint>

// Starting values for the flash iterations: component vapour pressures from the correlation of
// the component database (or a supercritical extrapolation), their inverse (a saturation
// temperature at a pressure), and the Wilson K-value.

namespace quorvane {

// A vapour-pressure correlation (P in Pa, T in K, natural logarithm):
//   code 1: ln P = C1 − C2/(T + C3)
//   code 6: ln P = C1 + C2/T + C3·ln T + C4·T^C5
// Any other code gives no vapour pressure (0).
struct VapourPressureSet {
    std::array<float, 5> c{};
    std::int16_t code = 0;
};

inline constexpr double kPascalPerPsi = 6894.757293;

// The component's vapour-pressure-like value (psia, 32-bit) at T (°F). Above Tc:
// z_i·Pc·exp(5.3727·(1 + w)·(1 − Tc/T)) in °R, capped at 4000 psia; otherwise the correlation.
// zi is the component's mole fraction in the composition being flashed. A failing evaluation
// throws (OverflowError, DivisionByZeroError, InvalidArgumentError).
float VapourPressureEstimate(float tempF, float tcF, float pcPsia, float w,
                             const VapourPressureSet& vp, float zi);

// K = (Pc/P)·exp(5.3727·(1 + w)·(1 − Tc/T)), Tc and T in °R rounded to 32 bits.
double WilsonK(float tempF, float pressPsia, float tcF, float pcPsia, float w);

// Saturation temperature (K, 32-bit) at P (psia) from the correlation: code 1 by its explicit
// inverse (decimal logarithm), code 6 by Newton's method from 50 K until successive values
// differ by less than toleranceK. Other codes return 0. Throws on a failing evaluation; the
// callers keep the component's previous value then.
float SaturationTemperatureK(float pressPsia, const VapourPressureSet& vp, double toleranceK = 0.1);

// The Newton steps allowed to the code-6 inverse before it gives up with its last value.
inline constexpr int kSaturationNewtonLimit = 200;

} // namespace quorvane
