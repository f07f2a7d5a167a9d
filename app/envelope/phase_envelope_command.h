#pragma once

// The phase-envelope command of the main window: checks the mixture, traces its envelope
// under the progress window and opens the plot window with what was traced.

#include "app/envelope/phase_envelope_window.h"
#include "app/main_state.h"
#include "engine/flash/phase_envelope.h"

class QWidget;

namespace quorvane {

class PhaseEnvelopeMonitor;

// Starts tracing the mixture's envelope with the equation of state of the Settings tab. With
// no components it says "No components have been selected." and starts nothing; a mixture
// that cannot be traced is refused with the reason. Returns the progress window, or nullptr
// when nothing was started. The plot window opens (as a child window of parent) when the
// tracing ends or is stopped.
PhaseEnvelopeMonitor* StartPhaseEnvelope(const MainState& state, QWidget* parent);

// What the plot window shows for a traced envelope: both curves (joined at the critical point
// when both reach it), the critical point, cricondenbar and cricondentherm and the flash state
// of the Settings tab (T °F, P psia) as marks with tooltips, the quality lines, and the
// status-line summary.
EnvelopePlot PlotOfEnvelope(const PhaseEnvelope& envelope, float stateTempF, float statePressPsia);

} // namespace quorvane
