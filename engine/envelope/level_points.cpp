#include "engine/envelope/level_points.h"

#include "engine/envelope/boundary_trace.h"
#include "engine/envelope/envelope_feed.h"
#include "engine/eos/engine_errors.h"

#include <cmath>

namespace quorvane::envelope {

namespace {

// Wilson's K-values of a trace component at a bubble point are often several units off in
// their logarithm; with the usual limit of one unit per step, Newton's method would crawl
// there.
constexpr double kLargestStartLnKStep = 8.0;

// The complementary branch's crossing only has to be shown: Newton's method stops at steps
// below this (the residual is far below it by then), and each stability trial across the
// crossing takes at most this many steps.
constexpr double kComplementStep = 1e-8;
constexpr int kQuickTrialSteps = 6;

// Wilson's start of the system's line (β = 0 or 1) at the query's given value: at a given
// pressure the temperature where Wilson's K-values satisfy the line's equation, at a given
// temperature the pressure (K_i = A_i/P: the bubble pressure Σ z_i·A_i, the dew pressure
// 1/Σ z_i/A_i). False when there is none.
bool WilsonStart(BoundarySystem& system, const PointQuery& query, Vec& xVars) {
    CubicMixture& model = system.Model();
    const int n = system.Components();
    const std::span<const double> z = system.Feed();
    double tR = 0.0;
    double p = 0.0;
    if (query.given == Given::Pressure) {
        p = query.value;
        const double lnT = WilsonLnTemperature(system, p);
        if (!std::isfinite(lnT)) {
            return false;
        }
        tR = std::exp(lnT);
    } else {
        tR = query.value + kRankineOffset;
        const bool bubble = system.Beta() == 0.0;
        double sum = 0.0;
        for (int i = 0; i < n; ++i) {
            if (z[i] > 0.0) {
                const double a = model.WilsonK(i, tR, 1.0);
                sum += bubble ? z[i] * a : z[i] / a;
            }
        }
        p = bubble ? sum : 1.0 / sum;
    }
    if (!(p > 0.0 && std::isfinite(p) && tR > 0.0 && std::isfinite(tR))) {
        return false;
    }
    for (int i = 0; i < n; ++i) {
        xVars[i] = std::log(model.WilsonK(i, tR, p));
    }
    xVars[TemperatureIndex(n)] = std::log(tR);
    xVars[PressureIndex(n)] = std::log(p);
    system.SetSwapped(false);
    return true;
}

SolveOptions StartSolveOptions() {
    SolveOptions options = ConfirmSolveOptions();
    options.largestLnKStep = kLargestStartLnKStep;
    return options;
}

// Whether, from the point last solved on the line, the line moves towards its critical point
// (the K-values towards 1) as the given variable rises.
bool RisesTowardsCritical(BoundarySystem& system, const Vec& xVars) {
    const int n = system.Components();
    Vec dXdS{};
    if (!system.Sensitivity(dXdS)) {
        return false;
    }
    int dominant = -1;
    for (int i = 0; i < n; ++i) {
        if (system.Feed()[i] > 0.0 &&
            (dominant < 0 || std::fabs(xVars[i]) > std::fabs(xVars[dominant]))) {
            dominant = i;
        }
    }
    return dominant >= 0 && xVars[dominant] * dXdS[dominant] < 0.0;
}

} // namespace

bool SolveAtLevel(BoundarySystem& system, const PointQuery& query, Vec& xVars, BoundaryPoint& point,
                  PointCheck& check, int quickTrials) {
    if (!WilsonStart(system, query, xVars)) {
        return false;
    }
    SolveOptions options = StartSolveOptions();
    if (quickTrials > 0) {
        options.tolerance = kComplementStep;
    }
    check = ConfirmOnLine(system, query, xVars, point, options, quickTrials);
    return check.status == PointStatus::Genuine && point.liquidZ < point.vapourZ;
}

bool OnlyCrossing(BoundarySystem& system, const PointQuery& query, const Vec& xVars) {
    if (!RisesTowardsCritical(system, xVars)) {
        return false;
    }
    // The complementary branch crosses the given value: at a solution of its equations that
    // the quick stability test finds genuine (a solution inside the two-phase region, where
    // the feed splits on both sides, is none; a second liquid shows within a few steps there).
    BoundarySystem other(system.Model(), system.Feed(), 1.0 - system.Beta());
    PointQuery complement = query;
    complement.vapourFraction = 1.0 - query.vapourFraction;
    Vec otherVars{};
    BoundaryPoint point;
    PointCheck check;
    return SolveAtLevel(other, complement, otherVars, point, check, kQuickTrialSteps);
}

bool OnlyPointOfItsKind(const EnvelopeMixture& mixture, std::span<const float> z,
                        const PointQuery& query, const BoundaryPoint& point) {
    // A point of the kind asked for: its liquid is the denser phase.
    if ((query.vapourFraction != 0.0 && query.vapourFraction != 1.0) ||
        !(point.liquidZ < point.vapourZ)) {
        return false;
    }
    try {
        CubicMixture model;
        const Feed feed = BindFeed(model, mixture, z);
        if (feed.present < 2) {
            return false;
        }
        const int n = model.Size();
        BoundarySystem system(model, feed.Composition(), query.vapourFraction);
        system.SetSwapped(false);
        Vec xVars{};
        const double tR = point.tempF + kRankineOffset;
        for (int i = 0; i < n; ++i) {
            xVars[i] = feed.z[i] > 0.0 ? std::log(point.k[i])
                                       : std::log(model.WilsonK(i, tR, point.pressPsia));
        }
        xVars[TemperatureIndex(n)] = std::log(tR);
        xVars[PressureIndex(n)] = std::log(point.pressPsia);
        // The point is solved already: this gives the factorisation there.
        const SolveResult r =
            system.Solve(xVars, QueryIndex(query, n), QueryLevel(query), ConfirmSolveOptions());
        return r.status == SolveStatus::Converged && OnlyCrossing(system, query, xVars);
    } catch (const EngineError&) {
        return false;
    }
}

} // namespace quorvane::envelope
