#pragma once

#include "engine/envelope/mixture_envelope.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/phase_fugacity.h"
#include "engine/flash/flash_case.h"
#include "engine/flash/flash_results.h"
#include "engine/flash/flash_state.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

// The phase envelope of a feed in the temperature-pressure plane: the bubble curve and the dew
// curve traced point by point with the saturation routines, each point starting from the one
// before it.

namespace quorvane {

enum class EnvelopeCurve { Bubble, Dew };

enum class SaturationRoutine { BubblePressure, BubbleTemperature, DewPressure, DewTemperature };

// "BUBP", "BUBT", "DEWP", "DEWT".
std::string_view SaturationRoutineCode(SaturationRoutine routine);

struct EnvelopePoint {
    float tempF = 0.0F;
    float pressPsia = 0.0F;
    // The routine that found it; for an added point, the routine of the same given variable.
    SaturationRoutine routine = SaturationRoutine::BubblePressure;
    std::int16_t iterations = 0;
    bool resolved = false; // the point check replaced what the routine found
    bool added = false;    // added by TraceVerifiedEnvelope, not traced
    // The phase that forms at the point (the vapour of a bubble point, the liquid of a dew
    // point); the other phase is the feed.
    std::array<float, kMaxComponents> incipient{};
};

// After every saturation call: the routine, its iteration count and the points kept so far.
struct EnvelopeProgress {
    SaturationRoutine routine = SaturationRoutine::BubblePressure;
    int iterations = 0;
    int bubblePoints = 0;
    int dewPoints = 0;
    // Set while the envelope is traced by continuation before the tracer starts (no routine is
    // in use then; continuationPoints counts its points).
    bool continuation = false;
    int continuationPoints = 0;
};

// Returns false to stop tracing; the points kept so far stay in the result.
using EnvelopeProgressFn = std::function<bool(const EnvelopeProgress&)>;

// What the point check makes of one saturation result: keep it as found, keep it after
// re-solving it in place (the check has overwritten the result's T, P, x, y and Z), or leave
// it out of the curve.
enum class PointVerdict { Accept, Resolved, Drop };

// One saturation result on its way to a curve. The check may re-solve it with the state's
// working storage; the tracer's own march goes on from what the routine found, so a check
// reads state.previous (the point the march just made) and leaves it as it is.
struct PointCandidate {
    const FlashMixture& mixture;
    std::span<const float> feed;
    EnvelopeCurve curve;
    SaturationRoutine routine;
    FlashResults& result;
    FlashState& state;
};

using EnvelopePointCheck = std::function<PointVerdict(PointCandidate&)>;

// The check used when the caller gives none: a point the routine reports as converged is
// kept, any other (a pass limit, a trivial or unphysical solution) is left out.
PointVerdict KeepConvergedPoint(PointCandidate& candidate);

struct EnvelopeOptions {
    EnvelopeProgressFn progress;
    EnvelopePointCheck check;
};

struct PhaseEnvelope {
    std::vector<EnvelopePoint> bubble; // in the order traced
    std::vector<EnvelopePoint> dew;
    float pseudoCriticalTempF = 0.0F;
    float pseudoCriticalPressPsia = 0.0F;
    float bubbleStartTempF = 0.0F; // where the low-pressure search began
    int searchSteps = 0;           // saturation calls of the low-pressure search
    int resolved = 0;              // points the check re-solved
    int dropped = 0;               // points the check left out
    int failed = 0;                // saturation calls that ended on an arithmetic failure
    bool cancelled = false;        // the progress callback stopped the tracing

    // Filled by TraceVerifiedEnvelope: the envelope of the feed by continuation, with its
    // critical point, cricondenbar, cricondentherm and quality lines, and how many points were
    // added to the curves (each confirmed as the traced points are) to carry both on to the
    // critical point, to fill stretches the tracer stepped over and to split its long steps.
    envelope::PhaseEnvelope continuation;
    int added = 0;
    bool closed = false; // both curves end in the critical point
};

// Pseudo-critical pressure of the feed (psia, 32-bit): R·Σ z_i·Zc_i·Σ z_i·Tc_i(°R)/Σ z_i·Vc_i.
// Throws InvalidArgumentError when the feed has no critical volume.
float PseudoCriticalPressurePsia(std::span<const float> z, const FlashMixture& mixture);

// Traces both curves of feed z (molar masses mw, 32-bit arrays n long): at most 250 steps of
// the low-pressure search and 200 saturation calls per curve. A saturation call that fails is
// stepped over: the march keeps its previous values and goes on to its limits, and nothing is
// drawn for it. Throws MixtureSizeError for arrays of the wrong length and
// InvalidArgumentError for an unknown equation of state or a feed without mole fractions,
// molar masses or critical volumes.
PhaseEnvelope TracePhaseEnvelope(const FlashMixture& mixture, std::span<const float> z,
                                 std::span<const float> mw, FlashState& state,
                                 const EnvelopeOptions& options = {});

// A case whose envelope cannot be traced; what() says why in words for the user.
class EnvelopeInputError : public EngineError {
public:
    using EngineError::EngineError;
};

// Throws EnvelopeInputError when the case cannot be traced (no components, no equation of
// state, a bad feed, missing critical data or molar masses; mw holds the molar masses).
void CheckEnvelopeCase(const FlashCase& flashCase, std::span<const float> mw);

// The envelope of the case's feed with its equation of state, and with the estimated
// interaction parameters when the case asks for them (the case itself is not changed). mw
// holds the molar masses of the case's components. Throws EnvelopeInputError when the case
// cannot be traced (no components, no equation of state, a bad feed, missing critical data or
// molar masses).
PhaseEnvelope TraceCaseEnvelope(const FlashCase& flashCase, std::span<const float> mw,
                                FlashState& state, const EnvelopeOptions& options = {});

} // namespace quorvane
