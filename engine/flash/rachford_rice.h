#pragma once

#include <span>

// The Rachford-Rice equation for the vapour fraction, and fraction normalisation.

namespace quorvane {

// Σ z_i·(K_i − 1)/(1 + V·(K_i − 1)).
double RachfordRiceFunction(double v, std::span<const double> k, std::span<const float> z);

// V with RachfordRiceFunction = 0: Newton iteration safeguarded by the bracket
// 1/(1 − K_max) .. 1/(1 − K_min), to (ΔV)² < 1e-10 or 1000 passes. V is not clipped to 0..1.
// K as the flash routines hold them (32-bit). The iteration starts from `start` when it lies
// strictly inside the bracket (an iterating caller passes its last V), else from 0.5 when that
// does, else from the middle of the bracket.
double RachfordRiceSolve(std::span<const float> k, std::span<const float> z, double start = 0.5);

// The same equation solved to full double precision (used by the continuation stage).
double RachfordRiceSolveTight(std::span<const double> k, std::span<const float> z);

// Divides every element by the sum of the elements. A zero or non-finite sum leaves the
// values as they are and returns false.
bool NormalizeFractions(std::span<float> values);
bool NormalizeFractions(std::span<double> values);

} // namespace quorvane
