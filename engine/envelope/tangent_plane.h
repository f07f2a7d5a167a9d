#pragma once

#include "engine/envelope/cubic_mixture.h"

#include <span>

// Phase stability of a feed at T and P by the tangent-plane criterion (Michelsen, 1982): a
// trial phase W is iterated by successive substitution, ln W_i = ln z_i + ln φ_i(z) − ln φ_i(W),
// towards a stationary point of the modified tangent-plane distance
//   tm = 1 + Σ W_i·(ln W_i + ln φ_i(W) − ln z_i − ln φ_i(z) − 1).
// A trial with tm < 0 proves the feed unstable (it splits); trials that end at stationary
// points with tm ≥ 0, or fall back on the feed, leave it stable. The feed takes its root of
// lower Gibbs energy, and so does every trial.

namespace quorvane::envelope {

struct TrialOutcome {
    double distance = 0.0; // tm at the end (1 − Σ W at a stationary point)
    bool trivial = false;  // the trial fell back on the feed composition
    bool converged = false;
    int iterations = 0;
    Vec w{}; // the trial phase, normalised
};

class TangentPlane {
public:
    TangentPlane(CubicMixture& model, std::span<const double> z);

    // The feed's chemical potentials at T (°R) and P (psia); false when the feed cannot be
    // evaluated there.
    bool SetState(double tR, double pPsia);

    // One trial from the composition start (mole numbers; absent components are ignored) of
    // at most limit steps. With stopWhenNegative the trial ends as soon as
    // tm < unstableBelow.
    TrialOutcome Trial(std::span<const double> start, bool stopWhenNegative,
                       int limit = kTrialLimit, double unstableBelow = kUnstableDistance);

    // Steps a trial takes at most to reach a stationary point.
    static constexpr int kTrialLimit = 300;

    // A tangent-plane distance below this proves instability; rounding of tm is near 1e-14.
    static constexpr double kUnstableDistance = -1e-10;

private:
    CubicMixture& m_model;
    int m_n;
    Vec m_z{};
    Vec m_lnZ{};
    Vec m_d{}; // ln z_i + ln φ_i(z)
    double m_tR = 0.0;
    double m_p = 0.0;
    PhaseResult m_phase;
};

// What the stability test of a feed at T and P came to.
struct StabilityVerdict {
    bool evaluated = false;
    bool stable = true;
    double distance = 0.0; // the smallest tm of the trials (negative when unstable)
    Vec split{};           // the trial that showed instability, normalised
};

// Trials from Wilson's K-values (vapour-like W = z·K and liquid-like W = z/K) and from the
// given extra compositions (for example the incipient phase of a saturation point), the extra
// ones first; the first that shows instability ends the test. Each trial takes at most
// trialLimit steps: a lower limit makes a quick test, which finds an instability that shows
// within those steps and calls the feed stable otherwise. A trial proves instability with a
// tangent-plane distance below unstableBelow.
StabilityVerdict TestFeedStability(CubicMixture& model, std::span<const double> z, double tR,
                                   double pPsia, std::span<const Vec> extraTrials,
                                   bool wilsonTrials = true,
                                   int trialLimit = TangentPlane::kTrialLimit,
                                   double unstableBelow = TangentPlane::kUnstableDistance);

} // namespace quorvane::envelope
