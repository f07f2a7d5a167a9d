#pragma once

#include "engine/flash/flash_case.h"
#include "engine/flash/flash_state.h"

// The flash driver: one run of the flash routine the case's flash type names.

namespace quorvane {

// Runs the flash of the case and stores x, y, K, the vapour fraction, the computed state
// variable, both Z values, the iteration count and the outcome (converged, residual, warning)
// in it. Does nothing (returns false, failure says why) when the case has no components or no
// valid equation-of-state choice, or when its inputs cannot be flashed (a pressure of zero or
// less, a temperature at or below absolute zero, a vapour fraction outside 0..1, arrays shorter
// than n, more than 25 components). With estimateKij set the run uses EstimateKij's table
// instead of flashCase.kij (which is not changed). Throws nothing: an arithmetic failure ends the
// run, leaves the previous results in place and is described in flashCase.failure. Returns true
// when the run completed: the caller then clears its recalculation flag and runs the property
// driver.
bool RunFlash(FlashCase& flashCase, FlashState& state) noexcept;

} // namespace quorvane
