#include "engine/envelope/boundary_points.h"

#include "engine/envelope/boundary_system.h"
#include "engine/envelope/boundary_trace.h"
#include "engine/envelope/critical_point.h"
#include "engine/envelope/envelope_feed.h"
#include "engine/envelope/level_points.h"
#include "engine/envelope/tangent_plane.h"
#include "engine/eos/engine_errors.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quorvane::envelope {

namespace {

// Relative steps of the free variable at which the feed's stability is tested on both sides of
// a saturation point: the smallest first, so that a neighbouring boundary is not crossed.
constexpr double kProbes[] = {1e-4, 1e-3, 1e-2};

// The point in the user's terms from the unknowns of a line of vapour fraction β: before the
// critical point x is the liquid and y the vapour; past it (swapped) the roles change, and
// the point has the vapour fraction 1 − β.
void FillPoint(BoundarySystem& system, const Vec& xVars, BoundaryPoint& point) {
    const bool swapped = system.Swapped();
    const int n = system.Components();
    Vec x{};
    Vec y{};
    system.Phases(xVars, x, y);
    double sx = 0.0;
    double sy = 0.0;
    for (int i = 0; i < n; ++i) {
        sx += x[i];
        sy += y[i];
    }
    for (int i = 0; i < n; ++i) {
        point.x[i] = (swapped ? y[i] / sy : x[i] / sx);
        point.y[i] = (swapped ? x[i] / sx : y[i] / sy);
        point.k[i] = std::exp(swapped ? -xVars[i] : xVars[i]);
    }
    point.tempF = std::exp(xVars[TemperatureIndex(n)]) - kRankineOffset;
    point.pressPsia = std::exp(xVars[PressureIndex(n)]);
    point.vapourFraction = swapped ? 1.0 - system.Beta() : system.Beta();
    point.liquidZ = swapped ? system.LastZy() : system.LastZx();
    point.vapourZ = swapped ? system.LastZx() : system.LastZy();
}

// Largest fugacity and balance residual at X (evaluated afresh).
double ResidualAt(BoundarySystem& system, const Vec& xVars) {
    Vec f{};
    system.Evaluate(xVars, f, nullptr);
    const int n = system.Components();
    double largest = std::fabs(f[n]);
    for (int i = 0; i < n; ++i) {
        if (system.Feed()[i] > 0.0) {
            largest = std::max(largest, std::fabs(f[i]));
        }
    }
    return largest;
}

// Stability of the feed just outside and just inside a saturation point, at each relative step
// of probes in turn, with trials of at most trialLimit steps.
void ProbeAcross(CubicMixture& model, std::span<const double> z, const PointQuery& query,
                 const BoundaryPoint& point, PointCheck& check, std::span<const double> probes,
                 int trialLimit) {
    const int n = model.Size();
    // The incipient phase: the vapour of a bubble point, the liquid of a dew point.
    Vec incipient{};
    for (int i = 0; i < n; ++i) {
        incipient[i] = query.vapourFraction < 0.5 ? point.y[i] : point.x[i];
    }
    const double tR = point.tempF + kRankineOffset;
    const double p = point.pressPsia;
    for (const double probe : probes) {
        StabilityVerdict side[2];
        for (int s = 0; s < 2; ++s) {
            const double factor = s == 0 ? 1.0 + probe : 1.0 - probe;
            const bool givenT = query.given == Given::Temperature;
            side[s] =
                TestFeedStability(model, z, givenT ? tR : tR * factor, givenT ? p * factor : p,
                                  std::span<const Vec>(&incipient, 1), true, trialLimit);
            if (!side[s].evaluated) {
                check.status = PointStatus::NotEvaluated;
                return;
            }
        }
        check.probe = probe;
        if (side[0].stable != side[1].stable) {
            const int stableSide = side[0].stable ? 0 : 1;
            check.distanceOnePhase = side[stableSide].distance;
            check.distanceTwoPhase = side[1 - stableSide].distance;
            check.status = PointStatus::Genuine;
            return;
        }
        if (!side[0].stable && !side[1].stable) {
            check.distanceOnePhase = std::min(side[0].distance, side[1].distance);
            check.distanceTwoPhase = check.distanceOnePhase;
            check.status = PointStatus::UnstableBothSides;
            return;
        }
    }
    check.status = PointStatus::NoPhaseChange;
}

// One component: its saturation point is where its liquid-like and vapour-like roots have the
// same Gibbs energy; on one side the liquid root is the lower, on the other the vapour root.
void ProbeRoots(CubicMixture& model, std::span<const double> z, const PointQuery& query,
                const BoundaryPoint& point, PointCheck& check) {
    const double tR = point.tempF + kRankineOffset;
    const double p = point.pressPsia;
    PhaseResult liquid;
    PhaseResult vapour;
    for (const double probe : kProbes) {
        int lowerIsLiquid[2] = {0, 0};
        for (int s = 0; s < 2; ++s) {
            const double factor = s == 0 ? 1.0 + probe : 1.0 - probe;
            const bool givenT = query.given == Given::Temperature;
            try {
                model.Evaluate(givenT ? tR : tR * factor, givenT ? p * factor : p, z, Root::Liquid,
                               kLnPhiOnly, liquid);
                model.Evaluate(givenT ? tR : tR * factor, givenT ? p * factor : p, z, Root::Vapour,
                               kLnPhiOnly, vapour);
            } catch (const EngineError&) {
                check.status = PointStatus::NotEvaluated;
                return;
            }
            // One real root: it is the phase there.
            lowerIsLiquid[s] = liquid.liquidRoot ? (liquid.gibbs < vapour.gibbs ? 1 : 0)
                                                 : (vapour.z < 0.3 ? 1 : 0);
        }
        check.probe = probe;
        if (lowerIsLiquid[0] != lowerIsLiquid[1]) {
            check.status = PointStatus::Genuine;
            return;
        }
    }
    check.status = PointStatus::NoPhaseChange;
}

// Each phase of a split at a given vapour fraction must itself be stable: otherwise the split
// is not the equilibrium (a third phase would form).
void CheckPhases(CubicMixture& model, const BoundaryPoint& point, PointCheck& check) {
    const int n = model.Size();
    const double tR = point.tempF + kRankineOffset;
    Vec x{};
    Vec y{};
    for (int i = 0; i < n; ++i) {
        x[i] = point.x[i];
        y[i] = point.y[i];
    }
    // The other phase of the split lies on the tangent plane of each phase, its distance zero
    // within the fugacity residual of the point; a distance that small shows no third phase
    // (a liquid at a fraction of a psia leaves a residual near 1e-9).
    const double unstableBelow =
        std::min(TangentPlane::kUnstableDistance, -10.0 * std::fabs(check.residual));
    for (const Vec* phase : {&x, &y}) {
        const Vec& other = phase == &x ? y : x;
        const StabilityVerdict v = TestFeedStability(
            model, std::span<const double>(phase->data(), n), tR, point.pressPsia,
            std::span<const Vec>(&other, 1), true, TangentPlane::kTrialLimit, unstableBelow);
        if (!v.evaluated) {
            check.status = PointStatus::NotEvaluated;
            return;
        }
        if (!v.stable) {
            check.status = PointStatus::UnstablePhase;
            check.distanceTwoPhase = v.distance;
            return;
        }
    }
    check.status = PointStatus::Genuine;
}

} // namespace

PointCheck ConfirmOnLine(BoundarySystem& system, const PointQuery& query, Vec& xVars,
                         BoundaryPoint& point, const SolveOptions& options, int quickTrials) {
    PointCheck check;
    const int n = system.Components();
    const SolveResult r = system.Solve(xVars, QueryIndex(query, n), QueryLevel(query), options);
    check.iterations = r.iterations;
    if (r.status == SolveStatus::NotEvaluated) {
        check.status = PointStatus::NotEvaluated;
        return check;
    }
    if (r.status != SolveStatus::Converged) {
        check.status = PointStatus::NotSolved;
        check.residual = r.residual;
        return check;
    }
    try {
        check.residual = ResidualAt(system, xVars);
    } catch (const EngineError&) {
        check.status = PointStatus::NotEvaluated;
        return check;
    }
    FillPoint(system, xVars, point);
    if (system.Trivial(xVars)) {
        check.status = PointStatus::Trivial;
        return check;
    }
    if (!(check.residual <= kPointTolerance)) {
        check.status = PointStatus::NotSolved;
        return check;
    }
    const double beta = system.Beta();
    const auto present =
        std::count_if(system.Feed().begin(), system.Feed().end(), [](double v) { return v > 0.0; });
    if (present == 1) {
        ProbeRoots(system.Model(), system.Feed(), query, point, check);
    } else if (beta == 0.0 || beta == 1.0) {
        if (quickTrials > 0) {
            ProbeAcross(system.Model(), system.Feed(), query, point, check,
                        std::span<const double>(kProbes, 1), quickTrials);
        } else {
            ProbeAcross(system.Model(), system.Feed(), query, point, check, kProbes,
                        TangentPlane::kTrialLimit);
        }
    } else {
        CheckPhases(system.Model(), point, check);
    }
    return check;
}

namespace {

// Wilson's estimate of the pressure of the line of vapour fraction β at T (°R): the root of
// Σ z_i·(K_i − 1)/(1 − β + β·K_i), which falls as P rises.
double WilsonPressure(CubicMixture& model, std::span<const double> z, double beta, double tR) {
    auto g = [&](double lnP) {
        double sum = 0.0;
        for (int i = 0; i < model.Size(); ++i) {
            const double k = model.WilsonK(i, tR, std::exp(lnP));
            sum += z[i] * (k - 1.0) / (1.0 - beta + beta * k);
        }
        return sum;
    };
    double lo = std::log(1e-8);
    double hi = std::log(1e6);
    if (!(g(lo) > 0.0)) {
        return 1e-8;
    }
    if (!(g(hi) < 0.0)) {
        return 1e6;
    }
    for (int k = 0; k < 80; ++k) {
        const double mid = 0.5 * (lo + hi);
        (g(mid) > 0.0 ? lo : hi) = mid;
    }
    return std::exp(0.5 * (lo + hi));
}

double StartPressure(CubicMixture& model, std::span<const double> z, const PointQuery& query) {
    if (query.given == Given::Temperature) {
        const double pw =
            WilsonPressure(model, z, query.vapourFraction, query.value + kRankineOffset);
        return std::clamp(0.2 * pw, 1e-6, 10.0);
    }
    // At the given pressure itself: the first point is then a point asked for, and the line
    // goes on from it (lower pressures are tried when it gives no point).
    return std::clamp(query.value, 1e-6, 1000.0);
}

} // namespace

double SearchStartPressure(const EnvelopeMixture& mixture, std::span<const float> z,
                           const PointQuery& query) {
    CubicMixture model;
    const Feed feed = BindFeed(model, mixture, z);
    return StartPressure(model, feed.Composition(), query);
}

PointCheck ConfirmPoint(const EnvelopeMixture& mixture, std::span<const float> z,
                        const PointQuery& query, BoundaryPoint& point) {
    CubicMixture model;
    const Feed feed = BindFeed(model, mixture, z);
    const int n = model.Size();
    BoundarySystem system(model, feed.Composition(), query.vapourFraction);
    system.SetSwapped(false);
    Vec xVars{};
    const double tR = point.tempF + kRankineOffset;
    if (!(tR > 0.0) || !(point.pressPsia > 0.0) || !std::isfinite(tR) ||
        !std::isfinite(point.pressPsia)) {
        return PointCheck{};
    }
    for (int i = 0; i < n; ++i) {
        const double k = point.k[i];
        if (feed.z[i] > 0.0 && !(k > 0.0 && std::isfinite(k))) {
            return PointCheck{};
        }
        // An absent component's K is its own unknown; any start will do.
        xVars[i] = feed.z[i] > 0.0 ? std::log(k) : std::log(model.WilsonK(i, tR, point.pressPsia));
    }
    xVars[TemperatureIndex(n)] = std::log(tR);
    xVars[PressureIndex(n)] = std::log(point.pressPsia);
    return ConfirmOnLine(system, query, xVars, point);
}

namespace {

// The point at the query on the step of a line over its critical point, reached from that
// step's end on the query's side in short steps of the given variable. A start interpolated
// on the step itself, with the K-values changing sides in between, can lie on the far side of
// the critical point, from where Newton's method falls on a false solution (the feed
// splitting on both sides of it); a bubble point a few degrees below the critical temperature,
// where the line runs almost flat in pressure, is missed that way.
void CrossingNextToCritical(BoundarySystem& system, const TraceLine& line, const PointQuery& query,
                            bool pastCritical, PointSearch& search) {
    Vec critical{};
    if (!CriticalCrossing(system, line, critical)) {
        return;
    }
    const int n = system.Components();
    const int m = system.Unknowns();
    const int fixed = QueryIndex(query, n);
    const double level = QueryLevel(query);
    const std::size_t k = static_cast<std::size_t>(line.criticalAfter);
    Vec xVars = line.points[pastCritical ? k + 1 : k].x;
    if (!((level - xVars[fixed]) * (critical[fixed] - level) > 0.0)) {
        return;
    }
    const int reference = DominantLnK(system, xVars);
    const double side = xVars[reference];
    system.SetSwapped(pastCritical);
    double at = xVars[fixed];
    double step = (level - at) / 8.0;
    if (system.Solve(xVars, fixed, at).status != SolveStatus::Converged) {
        return;
    }
    for (int tries = 0; tries < 40 && at != level; ++tries) {
        Vec slope{};
        if (!system.Sensitivity(slope)) {
            return;
        }
        const double next = std::fabs(level - at) <= std::fabs(step) ? level : at + step;
        Vec trial{};
        for (int i = 0; i < m; ++i) {
            trial[i] = xVars[i] + slope[i] * (next - at);
        }
        const bool solved = system.Solve(trial, fixed, next).status == SolveStatus::Converged &&
                            trial[reference] * side > 0.0;
        if (solved) {
            xVars = trial;
            at = next;
            continue;
        }
        step *= 0.5;
        // The last solve failed: the last point is solved again for its slope.
        if (std::fabs(step) < 1e-7 ||
            system.Solve(xVars, fixed, at).status != SolveStatus::Converged) {
            return;
        }
    }
    if (at != level) {
        return;
    }
    BoundaryPoint point;
    const PointCheck check = ConfirmOnLine(system, query, xVars, point);
    if (check.status == PointStatus::Genuine &&
        std::fabs(point.vapourFraction - query.vapourFraction) <= 1e-12) {
        search.points.push_back(point);
        search.checks.push_back(check);
    }
}

// Points at the query on one traced line: before its critical point (the line's own vapour
// fraction) or past it (the complementary fraction, the phases' roles changed).
void CollectCrossings(BoundarySystem& system, const TraceLine& line, const PointQuery& query,
                      bool pastCritical, PointSearch& search) {
    if (line.points.size() < 2) {
        return;
    }
    const int n = system.Components();
    const int m = system.Unknowns();
    const int fixed = QueryIndex(query, n);
    const double level = QueryLevel(query);
    const std::size_t split = line.criticalAfter >= 0
                                  ? static_cast<std::size_t>(line.criticalAfter)
                                  : (pastCritical ? line.points.size() : line.points.size() - 1);
    const std::size_t from = pastCritical ? split : 0;
    const int reference = DominantLnK(system, line.points.front().x);
    const std::size_t to =
        pastCritical ? line.points.size() - 1 : std::min(split + 1, line.points.size() - 1);
    bool acrossCritical = false; // the level crossed on the step over the critical point
    std::size_t foundBefore = 0; // points found before that step
    for (std::size_t k = from; k < to; ++k) {
        std::array<double, 2> arcs{};
        const int count =
            CrossingsBetween(line.points[k], line.points[k + 1], m, fixed, level, arcs);
        if (count > 0 && k == split) {
            acrossCritical = true;
            foundBefore = search.points.size();
        }
        for (int c = 0; c < count; ++c) {
            Vec xVars{};
            HermiteAt(line.points[k], line.points[k + 1], arcs[static_cast<std::size_t>(c)], m,
                      xVars);
            system.SetSwapped(pastCritical);
            BoundaryPoint point;
            const PointCheck check = ConfirmOnLine(system, query, xVars, point);
            if (check.status == PointStatus::UnstableBothSides ||
                check.status == PointStatus::UnstablePhase) {
                search.unstable.push_back(point);
                continue;
            }
            // A point on the wrong side of the critical point has the other vapour fraction.
            if (check.status != PointStatus::Genuine ||
                std::fabs(point.vapourFraction - query.vapourFraction) > 1e-12) {
                continue;
            }
            const bool crossedBack =
                line.criticalAfter >= 0 &&
                xVars[reference] * line.points.front().x[reference] * (pastCritical ? -1.0 : 1.0) <
                    0.0;
            if (crossedBack) {
                continue;
            }
            const bool seen = std::any_of(
                search.points.begin(), search.points.end(), [&](const BoundaryPoint& p) {
                    return std::fabs(p.tempF - point.tempF) < 1e-6 &&
                           std::fabs(p.pressPsia / point.pressPsia - 1.0) < 1e-8;
                });
            if (!seen) {
                search.points.push_back(point);
                search.checks.push_back(check);
            }
        }
    }
    if (acrossCritical && search.points.size() == foundBefore) {
        CrossingNextToCritical(system, line, query, pastCritical, search);
    }
}

// One component: its vapour pressure at the given temperature, or its boiling temperature at
// the given pressure, from Wilson's estimate; none above its critical point.
void PureComponentPoint(CubicMixture& model, const Feed& feed, const PointQuery& query,
                        PointSearch& search) {
    const int n = model.Size();
    const std::span<const double> zd = feed.Composition();
    int present = 0;
    for (int i = 0; i < n; ++i) {
        if (feed.z[i] > 0.0) {
            present = i;
        }
    }
    const CriticalPointResult c = FindCriticalPoint(model, zd, model.CriticalTemperatureR(present),
                                                    model.CriticalPressure(present));
    search.traced = true;
    search.critical = SpecialPoint{c.found, c.tR - kRankineOffset, c.pPsia};
    if (!c.found) {
        return;
    }
    double tR = 0.0;
    double p = 0.0;
    if (query.given == Given::Temperature) {
        tR = query.value + kRankineOffset;
        if (!(tR < c.tR)) {
            return;
        }
        p = WilsonPressure(model, zd, 0.0, tR);
    } else {
        p = query.value;
        if (!(p < c.pPsia)) {
            return;
        }
        // Wilson's K of the component is 1 at its boiling temperature.
        double lo = std::log(1.0);
        double hi = std::log(c.tR);
        for (int k = 0; k < 80; ++k) {
            const double mid = 0.5 * (lo + hi);
            (model.WilsonK(present, std::exp(mid), p) < 1.0 ? lo : hi) = mid;
        }
        tR = std::exp(0.5 * (lo + hi));
    }
    BoundarySystem system(model, zd, query.vapourFraction);
    system.SetSwapped(false);
    Vec xVars{};
    for (int i = 0; i < n; ++i) {
        xVars[i] = std::log(model.WilsonK(i, tR, p)) * (i == present ? 0.0 : 1.0);
    }
    xVars[TemperatureIndex(n)] = std::log(tR);
    xVars[PressureIndex(n)] = std::log(p);
    BoundaryPoint point;
    const PointCheck check = ConfirmOnLine(system, query, xVars, point);
    if (check.status == PointStatus::Genuine) {
        search.points.push_back(point);
        search.checks.push_back(check);
    }
}

// Pressure (psia) of the start of a line traced again from low pressures.
constexpr double kLowStartPsia = 14.7;

// Every point at the query on the line of its vapour fraction traced from startPsia (and, when
// that line does not reach its critical point, on the complementary line past it), ordered by
// the free variable.
void TraceAndCollect(CubicMixture& model, std::span<const double> zd, const PointQuery& query,
                     double startPsia, PointSearch& out) {
    PointSearch search;
    const int n = model.Size();
    const double beta = query.vapourFraction;
    // Start low enough that the line passes below the point asked for; coarse steps, since
    // every crossing is solved afresh.
    TraceOptions options;
    options.stopAfterCritical = true;
    options.initialStep = 0.5;
    options.largestStep = 3.0;
    options.largestLnTStep = 0.25;
    options.largestLnPStep = 1.0;
    options.startPressPsia = startPsia;
    BoundarySystem system(model, zd, beta);
    // Near the critical point (every |ln K| below 1) the line need not be followed through it
    // when it cannot come back to the given value first: the given variable, here and
    // extrapolated along the tangent to where the K-values vanish, stays more than 10 % (in
    // its logarithm) on one side.
    const int fixed = QueryIndex(query, n);
    const double level = QueryLevel(query);
    bool nearCritical = false;
    options.onPoint = [&](const TracePoint& p) {
        const int dom = DominantLnK(system, p.x);
        if (std::fabs(p.x[dom]) > 1.0 || p.tangent[dom] == 0.0) {
            return true;
        }
        const double atCritical = p.x[fixed] - p.tangent[fixed] * p.x[dom] / p.tangent[dom];
        nearCritical = (p.x[fixed] - level) * (atCritical - level) > 0.0 &&
                       std::fabs(p.x[fixed] - level) > 0.1 && std::fabs(atCritical - level) > 0.1;
        return !nearCritical;
    };
    const TraceLine line = TraceLineFromLowPressure(system, options);
    search.traced = !line.points.empty();
    // Where the line crossed the critical point (interpolated: a message that names it traces
    // the whole envelope and refines it there).
    Vec crossing{};
    if (CriticalCrossing(system, line, crossing)) {
        search.critical =
            SpecialPoint{true, std::exp(crossing[TemperatureIndex(n)]) - kRankineOffset,
                         std::exp(crossing[PressureIndex(n)])};
    }
    CollectCrossings(system, line, query, false, search);
    if (line.criticalAfter < 0 && !nearCritical) {
        // The line did not reach the critical point from its own low-pressure end (a bubble
        // curve that never comes down to low pressures, for one): the rest of it is the part
        // of the complementary line past the critical point.
        options.stopAfterCritical = false;
        options.onPoint = nullptr;
        BoundarySystem other(model, zd, 1.0 - beta);
        const TraceLine complement = TraceLineFromLowPressure(other, options);
        search.traced = search.traced || !complement.points.empty();
        if (CriticalCrossing(other, complement, crossing)) {
            search.critical =
                SpecialPoint{true, std::exp(crossing[TemperatureIndex(n)]) - kRankineOffset,
                             std::exp(crossing[PressureIndex(n)])};
            CollectCrossings(other, complement, query, true, search);
        }
    }
    // Order by the free variable.
    std::vector<std::size_t> order(search.points.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    const bool byPressure = query.given == Given::Temperature;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return byPressure ? search.points[a].pressPsia < search.points[b].pressPsia
                          : search.points[a].tempF < search.points[b].tempF;
    });
    out = PointSearch{};
    out.traced = search.traced;
    out.critical = search.critical;
    out.unstable = search.unstable;
    for (const std::size_t i : order) {
        out.points.push_back(search.points[i]);
        out.checks.push_back(search.checks[i]);
    }
}

} // namespace

PointSearch FindPoints(const EnvelopeMixture& mixture, std::span<const float> z,
                       const PointQuery& query) {
    PointSearch search;
    CubicMixture model;
    const Feed feed = BindFeed(model, mixture, z);
    const std::span<const double> zd = feed.Composition();
    const double beta = query.vapourFraction;
    if (feed.present == 1) {
        PureComponentPoint(model, feed, query, search);
        return search;
    }
    if (beta == 0.0 || beta == 1.0) {
        // A bubble or dew point solved where it is asked for, when it is the only one there.
        BoundarySystem system(model, zd, beta);
        Vec xVars{};
        BoundaryPoint point;
        PointCheck check;
        if (SolveAtLevel(system, query, xVars, point, check) &&
            OnlyCrossing(system, query, xVars)) {
            search.points.push_back(point);
            search.checks.push_back(check);
            search.traced = true;
            return search;
        }
    }
    const double start = StartPressure(model, zd, query);
    TraceAndCollect(model, zd, query, start, search);
    if (search.points.empty() && start > kLowStartPsia) {
        // The line started at the given pressure itself can start on a false solution of its
        // equations inside the two-phase region (the feed splits on both sides) and follow a
        // false curve from there. The line from a low pressure, where Wilson's K-values hold,
        // is the mixture's own.
        PointSearch low;
        TraceAndCollect(model, zd, query, kLowStartPsia, low);
        if (!low.points.empty()) {
            search = std::move(low);
        }
    }
    return search;
}

} // namespace quorvane::envelope
