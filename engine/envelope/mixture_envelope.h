#pragma once

#include "engine/eos/eos_choice.h"
#include "engine/eos/eos_parameters.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

// The phase envelope of a feed by continuation (Michelsen, 1980): the dew curve from a low
// pressure up to the critical point and on down the bubble curve, in one line of constant
// vapour fraction; the critical point by Heidemann and Khalil's criterion from where the line
// crossed it; the cricondenbar and cricondentherm where the pressure and the temperature of
// the line pass their maxima; and optional lines of constant vapour fraction (quality lines).
// Temperatures in °F, pressures in psia. Plain C++: callers add their own threads and windows.

namespace quorvane::envelope {

// The mixture as the envelope functions read it (arrays n long; Tc in °F, Pc in psia).
struct EnvelopeMixture {
    EosChoice eos;
    std::span<const float> tcF;
    std::span<const float> pcPsia;
    std::span<const float> w;
    KijView kij;
};

struct EnvelopePoint {
    double tempF = 0.0;
    double pressPsia = 0.0;
};

// How a special point was found.
enum class FoundBy {
    // The critical point: Heidemann and Khalil's criterion, solved from where the line crossed it.
    Criterion,
    // The critical point: interpolated where the K-values of the line change sides (the
    // criterion did not settle near it).
    Crossing,
    // The greatest pressure or temperature of a line: solved where its slope vanishes.
    Extremum,
    // The same, interpolated between the traced points (the solve did not settle).
    ExtremumInterpolated
};

struct SpecialPoint {
    bool found = false;
    double tempF = 0.0;
    double pressPsia = 0.0;
    FoundBy how = FoundBy::Criterion;
};

struct QualityLine {
    double vapourFraction = 0.0;
    std::vector<EnvelopePoint> points; // from the lowest pressure to the critical point
};

struct EnvelopeProgress {
    int points = 0;            // points traced so far, all lines together
    double vapourFraction = 1; // of the line being traced
    double tempF = 0.0;
    double pressPsia = 0.0;
};

struct EnvelopeOptions {
    double startPressPsia = 10.0; // both branches run down to this pressure
    // Extra lines of constant vapour fraction, each between 0 and 1 (for example 0.25, 0.5,
    // 0.75). A line and its complement come from one trace.
    std::vector<double> qualities;
    // Resolution in the temperature-pressure plane: the largest step in ln T and in ln P.
    double largestLnTStep = 0.03;
    double largestLnPStep = 0.15;
    // Called after every point; returning false cancels the tracing.
    std::function<bool(const EnvelopeProgress&)> progress;
};

struct PhaseEnvelope {
    std::vector<EnvelopePoint> dew;    // from the start pressure to the critical point
    std::vector<EnvelopePoint> bubble; // from the start pressure to the critical point
    SpecialPoint critical;
    SpecialPoint cricondenbar;
    SpecialPoint cricondentherm;
    std::vector<QualityLine> qualities;
    bool cancelled = false;
    // Empty when every part was found; otherwise what is missing and why, in plain words.
    std::string note;
};

// Throws MixtureSizeError for arrays of different lengths or more than 25 components and
// InvalidArgumentError for an empty feed; every numerical failure is reported in the result.
PhaseEnvelope TracePhaseEnvelope(const EnvelopeMixture& mixture, std::span<const float> z,
                                 const EnvelopeOptions& options = {});

} // namespace quorvane::envelope
