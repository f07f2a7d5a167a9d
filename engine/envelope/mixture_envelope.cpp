#include "engine/envelope/mixture_envelope.h"

#include "engine/envelope/boundary_trace.h"
#include "engine/envelope/critical_point.h"
#include "engine/envelope/envelope_feed.h"
#include "engine/eos/engine_errors.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace quorvane::envelope {

namespace {

EnvelopePoint PointOf(const Vec& x, int n) {
    return EnvelopePoint{std::exp(x[TemperatureIndex(n)]) - kRankineOffset,
                         std::exp(x[PressureIndex(n)])};
}

// The maximum of ln P (or ln T) along the line: bracketed where the tangent's component
// changes sign, then solved with the other variable specified, by secant steps on the slope
// d ln P/d ln T (or d ln T/d ln P) until it vanishes.
SpecialPoint ExtremeOfLine(BoundarySystem& system, const TraceLine& line, bool pressure) {
    SpecialPoint extreme;
    const int n = system.Components();
    const int m = system.Unknowns();
    const int iMax = pressure ? PressureIndex(n) : TemperatureIndex(n);
    const int iFixed = pressure ? TemperatureIndex(n) : PressureIndex(n);
    const auto& pts = line.points;
    double best = -1e300;
    for (std::size_t k = 0; k + 1 < pts.size(); ++k) {
        if (!(pts[k].tangent[iMax] > 0.0 && pts[k + 1].tangent[iMax] <= 0.0)) {
            continue;
        }
        double arc = 0.0;
        if (!CrossingBetween(pts[k], pts[k + 1], m, iMax, 0.0, true, arc)) {
            continue;
        }
        Vec x{};
        HermiteAt(pts[k], pts[k + 1], arc, m, x);
        // Secant on the slope of the maximised variable against the specified one.
        system.SetSwapped(pts[k].swapped);
        auto slopeAt = [&](double s, Vec& at, double& slope) {
            const SolveResult r = system.Solve(at, iFixed, s);
            Vec d{};
            if (r.status != SolveStatus::Converged || system.Trivial(at) ||
                !system.Sensitivity(d)) {
                return false;
            }
            slope = d[iMax];
            return true;
        };
        double s0 = x[iFixed];
        Vec x0 = x;
        double f0 = 0.0;
        if (!slopeAt(s0, x0, f0)) {
            continue;
        }
        double s1 = s0 + 1e-4;
        Vec x1 = x0;
        double f1 = 0.0;
        bool ok = slopeAt(s1, x1, f1);
        for (int iter = 0; ok && iter < 30 && std::fabs(s1 - s0) > 1e-11; ++iter) {
            if (f1 == f0) {
                break;
            }
            const double s2 = s1 - f1 * (s1 - s0) / (f1 - f0);
            if (!(std::fabs(s2 - x[iFixed]) < 0.1)) {
                ok = false;
                break;
            }
            Vec x2 = x1;
            double f2 = 0.0;
            ok = slopeAt(s2, x2, f2);
            s0 = s1;
            f0 = f1;
            s1 = s2;
            f1 = f2;
            x1 = x2;
        }
        const Vec& at = ok ? x1 : x;
        if (at[iMax] > best) {
            best = at[iMax];
            const EnvelopePoint p = PointOf(at, n);
            extreme.found = true;
            extreme.tempF = p.tempF;
            extreme.pressPsia = p.pressPsia;
            extreme.how = ok ? FoundBy::Extremum : FoundBy::ExtremumInterpolated;
        }
    }
    return extreme;
}

void KeepLarger(SpecialPoint& kept, const SpecialPoint& candidate, bool pressure) {
    if (!candidate.found) {
        return;
    }
    if (!kept.found ||
        (pressure ? candidate.pressPsia > kept.pressPsia : candidate.tempF > kept.tempF)) {
        kept = candidate;
    }
}

const char* EndInWords(TraceEnd end) {
    switch (end) {
    case TraceEnd::LowPressure:
    case TraceEnd::PastCritical:
        return "";
    case TraceEnd::HighPressure:
        return "it rises past 100000 psia";
    case TraceEnd::TemperatureRange:
        return "it leaves the temperature range of the equation of state";
    case TraceEnd::PointLimit:
        return "it needs more points than the tracing allows";
    case TraceEnd::StepFailed:
        return "the equations could not be solved beyond its last point";
    case TraceEnd::Cancelled:
        return "the tracing was cancelled";
    case TraceEnd::NoStart:
        return "no point could be found at the start pressure";
    }
    return "";
}

std::vector<EnvelopePoint> PointsOf(const TraceLine& line, int n, std::size_t from,
                                    std::size_t to) {
    std::vector<EnvelopePoint> out;
    for (std::size_t k = from; k < to && k < line.points.size(); ++k) {
        out.push_back(PointOf(line.points[k].x, n));
    }
    return out;
}

} // namespace

PhaseEnvelope TracePhaseEnvelope(const EnvelopeMixture& mixture, std::span<const float> z,
                                 const EnvelopeOptions& options) {
    PhaseEnvelope env;
    CubicMixture model;
    const Feed feed = BindFeed(model, mixture, z);
    const int n = model.Size();
    const std::span<const double> zd = feed.Composition();

    int traced = 0;
    double lineBeta = 1.0;
    TraceOptions to;
    to.startPressPsia = options.startPressPsia;
    to.largestLnTStep = options.largestLnTStep;
    to.largestLnPStep = options.largestLnPStep;
    to.onPoint = [&](const TracePoint& p) {
        ++traced;
        if (!options.progress) {
            return true;
        }
        const EnvelopePoint at = PointOf(p.x, n);
        return options.progress(EnvelopeProgress{traced, lineBeta, at.tempF, at.pressPsia});
    };

    BoundarySystem dewSystem(model, zd, 1.0);
    const TraceLine dew = TraceLineFromLowPressure(dewSystem, to);
    if (dew.end == TraceEnd::Cancelled) {
        env.cancelled = true;
        return env;
    }
    if (feed.present == 1) {
        // One component: the vapour-pressure curve, which ends at the critical point; the
        // K-values stay 1 and the line stops where the two roots merge.
        env.dew = PointsOf(dew, n, 0, dew.points.size());
        if (!dew.points.empty()) {
            const Vec& last = dew.points.back().x;
            const CriticalPointResult c = FindCriticalPoint(
                model, zd, std::exp(last[TemperatureIndex(n)]), std::exp(last[PressureIndex(n)]));
            if (c.found) {
                env.critical = SpecialPoint{true, c.tR - kRankineOffset, c.pPsia};
                env.dew.push_back(EnvelopePoint{env.critical.tempF, env.critical.pressPsia});
                env.cricondenbar = env.critical;
                env.cricondentherm = env.critical;
            }
        }
        env.bubble = env.dew;
        if (!env.critical.found) {
            env.note = "The critical point of the component could not be found.";
        }
        return env;
    }

    std::vector<const TraceLine*> lines{&dew};
    std::vector<BoundarySystem*> systems{&dewSystem};
    BoundarySystem bubbleSystem(model, zd, 0.0);
    TraceLine bubble;
    if (dew.criticalAfter >= 0) {
        const auto cut = static_cast<std::size_t>(dew.criticalAfter) + 1;
        env.dew = PointsOf(dew, n, 0, cut);
        env.bubble = PointsOf(dew, n, cut, dew.points.size());
        std::reverse(env.bubble.begin(), env.bubble.end());
        const CriticalPointResult c = CriticalPointOfLine(dewSystem, dew);
        // A refined point took iterations of the criterion; the interpolation took none.
        env.critical = SpecialPoint{c.found, c.tR - kRankineOffset, c.pPsia,
                                    c.iterations > 0 ? FoundBy::Criterion : FoundBy::Crossing};
        if (dew.end != TraceEnd::LowPressure) {
            env.note = std::string("The bubble curve does not come back down to the start "
                                   "pressure: ") +
                       EndInWords(dew.end) + ".";
        }
    } else {
        // The dew curve did not reach a critical point: the bubble curve on its own.
        env.dew = PointsOf(dew, n, 0, dew.points.size());
        lineBeta = 0.0;
        bubble = TraceLineFromLowPressure(bubbleSystem, to);
        if (bubble.end == TraceEnd::Cancelled) {
            env.cancelled = true;
            return env;
        }
        env.bubble = PointsOf(bubble, n, 0, bubble.points.size());
        lines.push_back(&bubble);
        systems.push_back(&bubbleSystem);
        env.note = "No critical point was found: the dew curve ends because " +
                   std::string(dew.end == TraceEnd::NoStart ? "no dew point could be found at the "
                                                              "start pressure"
                                                            : EndInWords(dew.end)) +
                   ", the bubble curve because " +
                   (bubble.end == TraceEnd::NoStart
                        ? std::string("no bubble point could be found at the start pressure")
                        : std::string(EndInWords(bubble.end))) +
                   ".";
    }
    if (env.critical.found) {
        // Both curves end at the critical point.
        env.dew.push_back(EnvelopePoint{env.critical.tempF, env.critical.pressPsia});
        env.bubble.push_back(EnvelopePoint{env.critical.tempF, env.critical.pressPsia});
    }
    // A line that rose past the highest pressure has no greatest pressure.
    const bool bounded = std::none_of(lines.begin(), lines.end(), [](const TraceLine* l) {
        return l->end == TraceEnd::HighPressure;
    });
    for (std::size_t l = 0; l < lines.size(); ++l) {
        if (bounded) {
            KeepLarger(env.cricondenbar, ExtremeOfLine(*systems[l], *lines[l], true), true);
        }
        KeepLarger(env.cricondentherm, ExtremeOfLine(*systems[l], *lines[l], false), false);
    }
    // The critical point lies on the envelope: where the temperature (or pressure) is
    // greatest there, it is the cricondentherm (or cricondenbar) itself.
    if (env.critical.found) {
        KeepLarger(env.cricondentherm, env.critical, false);
        if (bounded) {
            KeepLarger(env.cricondenbar, env.critical, true);
        }
    }

    // Quality lines: one trace gives a line and, past the critical point, its complement.
    std::vector<double> done;
    for (const double beta : options.qualities) {
        if (!(beta > 0.0 && beta < 1.0)) {
            continue;
        }
        const bool have = std::any_of(done.begin(), done.end(), [&](double d) {
            return std::fabs(d - beta) < 1e-12 || std::fabs(d - (1.0 - beta)) < 1e-12;
        });
        if (have) {
            continue;
        }
        done.push_back(beta);
        lineBeta = beta;
        BoundarySystem system(model, zd, beta);
        const TraceLine q = TraceLineFromLowPressure(system, to);
        if (q.end == TraceEnd::Cancelled) {
            env.cancelled = true;
            return env;
        }
        QualityLine line{beta, {}};
        QualityLine complement{1.0 - beta, {}};
        if (q.criticalAfter >= 0) {
            const auto cut = static_cast<std::size_t>(q.criticalAfter) + 1;
            line.points = PointsOf(q, n, 0, cut);
            complement.points = PointsOf(q, n, cut, q.points.size());
            std::reverse(complement.points.begin(), complement.points.end());
            if (env.critical.found) {
                line.points.push_back(EnvelopePoint{env.critical.tempF, env.critical.pressPsia});
                complement.points.push_back(
                    EnvelopePoint{env.critical.tempF, env.critical.pressPsia});
            }
        } else {
            line.points = PointsOf(q, n, 0, q.points.size());
        }
        env.qualities.push_back(std::move(line));
        if (std::fabs(beta - 0.5) > 1e-12 && !complement.points.empty()) {
            env.qualities.push_back(std::move(complement));
        }
    }
    std::sort(env.qualities.begin(), env.qualities.end(),
              [](const QualityLine& a, const QualityLine& b) {
                  return a.vapourFraction < b.vapourFraction;
              });
    return env;
}

} // namespace quorvane::envelope
