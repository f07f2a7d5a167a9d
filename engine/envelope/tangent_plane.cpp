#include "engine/envelope/tangent_plane.h"

#include "engine/eos/engine_errors.h"

#include <algorithm>
#include <cmath>

namespace quorvane::envelope {

namespace {

constexpr double kStationary = 1e-10; // largest change of ln W at a stationary point
constexpr double kTrivial = 1e-8;     // Σ (ln w_i − ln z_i)² of a trial back on the feed
// Near a stationary point tm lies above its stationary value by terms of order Σ W_i·g_i²: a
// trial whose steps are this small while tm is still well above zero can no longer reach a
// negative distance, and ends there.
constexpr double kSettled = 1e-6;
constexpr double kClearlyPositive = 1e-6;

} // namespace

TangentPlane::TangentPlane(CubicMixture& model, std::span<const double> z)
    : m_model(model), m_n(model.Size()) {
    double total = 0.0;
    for (int i = 0; i < m_n; ++i) {
        total += z[i];
    }
    for (int i = 0; i < m_n; ++i) {
        m_z[i] = z[i] / total;
        m_lnZ[i] = m_z[i] > 0.0 ? std::log(m_z[i]) : 0.0;
    }
}

bool TangentPlane::SetState(double tR, double pPsia) {
    m_tR = tR;
    m_p = pPsia;
    try {
        m_model.Evaluate(tR, pPsia, std::span<const double>(m_z.data(), m_n), Root::LowerGibbs,
                         kLnPhiOnly, m_phase);
    } catch (const EngineError&) {
        return false;
    }
    for (int i = 0; i < m_n; ++i) {
        m_d[i] = m_z[i] > 0.0 ? m_lnZ[i] + m_phase.lnPhi[i] : 0.0;
    }
    return true;
}

TrialOutcome TangentPlane::Trial(std::span<const double> start, bool stopWhenNegative, int limit,
                                 double unstableBelow) {
    TrialOutcome out;
    Vec lnW{};
    Vec w{};
    Vec step{};
    Vec previousStep{};
    for (int i = 0; i < m_n; ++i) {
        lnW[i] = m_z[i] > 0.0 && start[i] > 0.0 ? std::log(start[i]) : -700.0;
    }
    for (int pass = 1; pass <= limit; ++pass) {
        out.iterations = pass;
        double total = 0.0;
        for (int i = 0; i < m_n; ++i) {
            w[i] = m_z[i] > 0.0 ? std::exp(lnW[i]) : 0.0;
            total += w[i];
        }
        if (!(total > 0.0) || !std::isfinite(total)) {
            return out;
        }
        try {
            m_model.Evaluate(m_tR, m_p, std::span<const double>(w.data(), m_n), Root::LowerGibbs,
                             kLnPhiOnly, m_phase);
        } catch (const EngineError&) {
            return out;
        }
        double tm = 1.0;
        double change = 0.0;
        double distance = 0.0;
        const double lnTotal = std::log(total);
        for (int i = 0; i < m_n; ++i) {
            if (m_z[i] <= 0.0) {
                continue;
            }
            const double g = lnW[i] + m_phase.lnPhi[i] - m_d[i];
            tm += w[i] * (g - 1.0);
            step[i] = -g; // the substitution step on ln W
            change = std::max(change, std::fabs(g));
            const double fromFeed = lnW[i] - lnTotal - m_lnZ[i]; // ln of the normalised W over z
            distance += fromFeed * fromFeed;
        }
        out.distance = tm;
        for (int i = 0; i < m_n; ++i) {
            out.w[i] = w[i] / total;
        }
        if (stopWhenNegative && tm < unstableBelow) {
            out.converged = false;
            return out;
        }
        if (distance < kTrivial) {
            out.trivial = true;
            out.converged = true;
            return out;
        }
        if (change < kStationary || (change < kSettled && tm > kClearlyPositive)) {
            out.converged = true;
            return out;
        }
        // Every fifth step extrapolates along the dominant direction of the substitution,
        // which is slow near a critical point.
        double lambda = 0.0;
        if (pass % 5 == 0) {
            double num = 0.0;
            double den = 0.0;
            for (int i = 0; i < m_n; ++i) {
                num += step[i] * step[i];
                den += step[i] * previousStep[i];
            }
            if (den != 0.0) {
                lambda = num / den;
            }
        }
        const double boost = lambda > 0.0 && lambda < 0.999 ? lambda / (1.0 - lambda) : 0.0;
        for (int i = 0; i < m_n; ++i) {
            if (m_z[i] > 0.0) {
                lnW[i] += step[i] * (1.0 + boost);
            }
            previousStep[i] = step[i];
        }
    }
    return out;
}

StabilityVerdict TestFeedStability(CubicMixture& model, std::span<const double> z, double tR,
                                   double pPsia, std::span<const Vec> extraTrials,
                                   bool wilsonTrials, int trialLimit, double unstableBelow) {
    StabilityVerdict verdict;
    const int n = model.Size();
    TangentPlane plane(model, z);
    if (!plane.SetState(tR, pPsia)) {
        return verdict;
    }
    verdict.evaluated = true;
    auto run = [&](std::span<const double> start) {
        const TrialOutcome t = plane.Trial(start, true, trialLimit, unstableBelow);
        if (!t.trivial && t.distance < verdict.distance) {
            verdict.distance = t.distance;
        }
        if (!t.trivial && t.distance < unstableBelow) {
            verdict.stable = false;
            verdict.split = t.w;
            return true;
        }
        return false;
    };
    for (const Vec& trial : extraTrials) {
        if (run(std::span<const double>(trial.data(), n))) {
            return verdict;
        }
    }
    if (!wilsonTrials) {
        return verdict;
    }
    Vec start{};
    for (const bool vapourLike : {true, false}) {
        for (int i = 0; i < n; ++i) {
            const double k = model.WilsonK(i, tR, pPsia);
            start[i] = vapourLike ? z[i] * k : z[i] / k;
        }
        if (run(std::span<const double>(start.data(), n))) {
            return verdict;
        }
    }
    return verdict;
}

} // namespace quorvane::envelope
