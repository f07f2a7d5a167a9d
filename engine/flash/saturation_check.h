#pragma once

#include "engine/envelope/mixture_envelope.h"
#include "engine/flash/flash_case.h"
#include "engine/flash/flash_results.h"
#include "engine/flash/flash_state.h"

#include <span>

// The saturation points and the flashes at a given vapour fraction as the driver runs them.
// The routine of the flash type goes first (its road to a point, and its answer when that is
// right). Its answer is then confirmed: Newton's method on the full equations polishes it to
// equal fugacities (largest |ln(f_V,i/f_L,i)| ≤ 1e-8), the phases must differ, and at a
// saturation point the stability of the feed must change across it. When it is not confirmed,
// the point is found from the line of that vapour fraction traced from a low pressure; when
// there is none, the result says why (converged = false) and the computed state variable
// keeps the value it had. At a given temperature or pressure with two dew points, the one
// reported is the routine's when it is confirmed, else the upper one, and the other is named.
// A dew point is the only one at its temperature or pressure when the bubble curve crosses
// there too (level_points.h); only otherwise is the line traced to look for a second one.

namespace quorvane {

envelope::EnvelopeMixture EnvelopeMixtureOf(const FlashMixture& mixture);

// Runs the flash of a saturation type (BUBP, BUBT, DEWP, DEWT) or of a given vapour fraction
// (TV, PV) into out. given is the specified T (°F) or P (psia); previous is the value the
// computed state variable had before the run. An arithmetic failure of the routine is not an
// end: the point is then looked for by continuation, and only when there is none does the
// failure end the run (an EngineError that says why there is no point). Throws
// MixtureSizeError for arrays that do not fit.
void RunSaturationFlash(FlashType type, const FlashMixture& mixture, std::span<const float> z,
                        float given, float vapourFraction, float previous, FlashResults& out,
                        FlashState& state);

} // namespace quorvane
