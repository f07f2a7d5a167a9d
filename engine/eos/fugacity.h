#pragma once

#include "engine/eos/cubic_roots.h"
#include "engine/eos/eos_choice.h"
#include "engine/eos/eos_parameters.h"

#include <span>
#include <string_view>

// Fugacity coefficient of one component in one phase, recomputed from scratch (roots and all
// mixture parameters). The flash routines use the one-evaluation form in phase_fugacity.h,
// which gives the same numbers for all components at once.

namespace quorvane {

enum class Phase { Vapour, Liquid };

// "V" selects the vapour-like root; any other flag the liquid-like root.
Phase PhaseFromFlag(std::string_view flag);

// φ_i of component i in the phase of composition x at T (°F), P (psia); Tc in °F. The Z of the
// chosen root is written to zOut (32-bit). Throws InvalidArgumentError, DivisionByZeroError or
// OverflowError when the arithmetic fails (Z ≤ B, an empty composition, ...).
double FugacityCoefficient(EosEquation equation, Phase phase, float tempF, float pressPsia,
                           std::span<const float> tcF, std::span<const float> pcPsia,
                           std::span<const float> w, std::span<const float> x, int i,
                           EosVariant variant, KijView kij, float& zOut, CubicState& state);

} // namespace quorvane
