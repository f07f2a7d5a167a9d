#pragma once

#include "engine/flash/flash_state.h"

#include <span>

// Carries an isothermal flash on to equilibrium after the substitution loop stalled or ran out
// of passes: accelerated successive substitution, then Newton's method on ln K with the
// Rachford-Rice equation solved for V at every step, until the fugacities of every component
// agree to kContinuationTolerance (largest |ln(f_L/f_V)|). Works in 64 bits throughout.

namespace quorvane::detail {

inline constexpr double kContinuationTolerance = 1e-8;

struct ContinuationResult {
    bool converged = false;
    double residual = 0.0; // sqrt(Σ ln(f_L,i/f_V,i)²) at the last point
    const char* reason = "";
};

// lnK: in, the starting point (the loop's K); out, the last point. v, x, y, liquidZ, vapourZ
// receive the phase split of the last point. Nothing is thrown.
ContinuationResult ContinueIsothermal(FlashState& state, std::span<const float> z, float tempF,
                                      float pressPsia, std::span<double> lnK, double& v,
                                      std::span<double> x, std::span<double> y, float& liquidZ,
                                      float& vapourZ);

} // namespace quorvane::detail
