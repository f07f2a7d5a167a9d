#pragma once

// Density of a single component above its critical temperature when no liquid-density set
// applies: the Peng-Robinson liquid-like root with a Rackett-based volume translation.

#include "engine/eos/cubic_roots.h"

namespace quorvane {

// lb-mol/ft3. Uses the original Peng-Robinson equation for the pure component whatever
// equation of state the calculation uses. Throws an EngineError when the root finder fails;
// a non-physical combination gives a non-finite result.
float TranslatedPengRobinsonDensity(float tempF, float pressPsia, float tcF, float pcPsia, float w,
                                    CubicState& state);

} // namespace quorvane
