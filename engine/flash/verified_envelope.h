#pragma once

#include "engine/flash/phase_envelope.h"

#include <span>

// The phase envelope as it is drawn: the bubble and dew curves of the tracer with every point
// confirmed, the special points and quality lines of the continuation, and both curves carried
// on to the critical point so that the outline closes there (with points of the continuation,
// which also fill stretches where a straight line between two traced points would visibly
// miss the envelope), and long steps split by points solved between their ends.
//
// A point is drawn only when it is a genuine saturation point of its curve: Newton's method on
// the full equations polishes it to equal fugacities, the stability of the feed changes across
// it, the phase called liquid is the denser one, and the point lies nearer its own curve of
// the continuation than the other (a point the march found past the critical point, on the
// other curve, fails these). A point the routine did not get right is solved again at the
// same given temperature or pressure, from the last point drawn on its curve; when that fails
// too it is left out. The tracer's own march is not changed by any of this.

namespace quorvane {

// Traces the envelope by continuation (with the quality lines VF = 0.25, 0.5 and 0.75 when
// asked for; its critical point tells the two curves apart), then the case's envelope with
// every point confirmed (see above; a check in options is replaced), and adds the points of
// the continuation, each confirmed, that carry each curve on to the critical point, and
// confirmed points that split the steps long on the plot (see above). Progress
// and cancelling as TraceCaseEnvelope (progress.continuation is set during the continuation);
// a cancelled trace is returned as it stands, neither filled nor closed. Throws as
// TraceCaseEnvelope does.
PhaseEnvelope TraceVerifiedEnvelope(const FlashCase& flashCase, std::span<const float> mw,
                                    FlashState& state, const EnvelopeOptions& options = {},
                                    bool qualityLines = false);

} // namespace quorvane
