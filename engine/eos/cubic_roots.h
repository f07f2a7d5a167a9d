#pragma once

#include "engine/eos/eos_choice.h"
#include "engine/eos/eos_parameters.h"

#include <span>

// Roots of the cubic in the compressibility factor.

namespace quorvane {

// Element 0 the vapour-like root, element 1 the liquid-like root; liquid == -1 marks that only
// the vapour-like root is usable (one real root, or a negative smallest root).
struct RootPair {
    double vapour = 0.0;
    double liquid = -1.0;
};

inline constexpr double kNoLiquidRoot = -1.0;

// What the root finder carries from one call to the next: the mixture B of the most recent
// CompressibilityRoots call, read by SolveCubic when it picks the vapour-like root. Held by the
// caller so that independent calculations can run side by side.
struct CubicState {
    double lastB = 0.0;
};

// Roots of Z³ + a1·Z² + a2·Z + a3 = 0 by the trigonometric/Cardano method. The vapour-like root
// must be at least state.lastB.
RootPair SolveCubic(double a1, double a2, double a3, const CubicState& state);

// The root pair of the cubic of the equation with reduced parameters A and B (stores B in
// state.lastB first).
RootPair RootsOfReduced(EosEquation equation, double bigA, double bigB, CubicState& state);

// The root pair of the equation for phase composition x at T (°F) and P (psia); Tc in °F.
// Stores the mixture B in state.lastB before solving. RK ignores w, the variant and kij.
RootPair CompressibilityRoots(EosEquation equation, float tempF, float pressPsia,
                              std::span<const float> tcF, std::span<const float> pcPsia,
                              std::span<const float> w, std::span<const float> x,
                              EosVariant variant, KijView kij, CubicState& state);

} // namespace quorvane
