#include "engine/envelope/boundary_trace.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvane::envelope {

namespace {

// Newton steps below this end a point of a traced line: the line only guides, and every point
// a caller reports is solved again, with its own unknown held, to full precision.
constexpr double kTraceTolerance = 1e-7;

// Unknowns that count for step lengths and for the choice of the specified unknown: the
// K-values of the components present, ln T and ln P. The K-values of absent components follow
// the others and would only distort the steps.
bool Counts(const BoundarySystem& system, int i) {
    return i >= system.Components() || system.Feed()[i] > 0.0;
}

double Distance(const BoundarySystem& system, const Vec& a, const Vec& b) {
    double sum = 0.0;
    for (int i = 0; i < system.Unknowns(); ++i) {
        if (Counts(system, i)) {
            sum += (a[i] - b[i]) * (a[i] - b[i]);
        }
    }
    return std::sqrt(sum);
}

// Scales t to unit length over the counted unknowns and turns it to point along `along`.
bool Orient(const BoundarySystem& system, Vec& t, const Vec& along) {
    double norm = 0.0;
    double dot = 0.0;
    for (int i = 0; i < system.Unknowns(); ++i) {
        if (Counts(system, i)) {
            norm += t[i] * t[i];
            dot += t[i] * along[i];
        }
    }
    norm = std::sqrt(norm);
    if (!(norm > 0.0) || !std::isfinite(norm)) {
        return false;
    }
    const double scale = (dot < 0.0 ? -1.0 : 1.0) / norm;
    for (int i = 0; i < system.Unknowns(); ++i) {
        t[i] *= scale;
    }
    return true;
}

} // namespace

int DominantLnK(const BoundarySystem& system, const Vec& x) {
    int dom = 0;
    double largest = -1.0;
    for (int i = 0; i < system.Components(); ++i) {
        if (system.Feed()[i] > 0.0 && std::fabs(x[i]) > largest) {
            largest = std::fabs(x[i]);
            dom = i;
        }
    }
    return dom;
}

double WilsonLnTemperature(BoundarySystem& system, double pressPsia) {
    CubicMixture& model = system.Model();
    const int n = system.Components();
    const double beta = system.Beta();
    const std::span<const double> z = system.Feed();
    // g = Σ z_i·(K_i − 1)/(1 − β + β·K_i) rises with T through every K_i: Newton's method in
    // ln T, kept inside a bracket that bisection narrows when a step would leave it.
    auto g = [&](double lnT, double* slope) {
        const double tR = std::exp(lnT);
        double sum = 0.0;
        double d = 0.0;
        for (int i = 0; i < n; ++i) {
            if (z[i] == 0.0) {
                continue;
            }
            const double k = model.WilsonK(i, tR, pressPsia);
            const double den = 1.0 - beta + beta * k;
            sum += z[i] * (k - 1.0) / den;
            d += z[i] * k * model.WilsonLnKSlope(i, tR) / (den * den);
        }
        if (slope != nullptr) {
            *slope = d;
        }
        return sum;
    };
    double lo = std::log(20.0);
    double hi = std::log(8000.0);
    if (!(g(lo, nullptr) < 0.0 && g(hi, nullptr) > 0.0)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    double lnT = std::log(300.0);
    for (int k = 0; k < 60 && hi - lo > 1e-9; ++k) {
        double slope = 0.0;
        const double value = g(lnT, &slope);
        (value < 0.0 ? lo : hi) = lnT;
        double next = slope > 0.0 ? lnT - value / slope : 0.5 * (lo + hi);
        if (!(next > lo && next < hi)) {
            next = 0.5 * (lo + hi);
        }
        const bool settled = std::fabs(next - lnT) < 1e-8;
        lnT = next;
        if (settled) {
            break;
        }
    }
    return lnT;
}

bool StartPoint(BoundarySystem& system, double pressPsia, Vec& xVars) {
    CubicMixture& model = system.Model();
    const int n = system.Components();
    const double lnT = WilsonLnTemperature(system, pressPsia);
    if (!std::isfinite(lnT)) {
        return false;
    }
    for (int i = 0; i < n; ++i) {
        xVars[i] = std::log(model.WilsonK(i, std::exp(lnT), pressPsia));
    }
    xVars[TemperatureIndex(n)] = lnT;
    xVars[PressureIndex(n)] = std::log(pressPsia);
    system.SetSwapped(false);
    SolveOptions options;
    options.maxIterations = 40;
    options.tolerance = kTraceTolerance;
    const SolveResult r = system.Solve(xVars, PressureIndex(n), std::log(pressPsia), options);
    return r.status == SolveStatus::Converged && !system.Trivial(xVars);
}

void HermiteAt(const TracePoint& a, const TracePoint& b, double arc, int unknowns, Vec& value,
               Vec* derivative) {
    const double h = b.arc - a.arc;
    if (!(h > 0.0)) {
        value = b.x;
        if (derivative != nullptr) {
            *derivative = b.tangent;
        }
        return;
    }
    const double s = (arc - a.arc) / h;
    const double s2 = s * s;
    const double s3 = s2 * s;
    const double h00 = 2.0 * s3 - 3.0 * s2 + 1.0;
    const double h10 = s3 - 2.0 * s2 + s;
    const double h01 = -2.0 * s3 + 3.0 * s2;
    const double h11 = s3 - s2;
    for (int i = 0; i < unknowns; ++i) {
        value[i] = h00 * a.x[i] + h10 * h * a.tangent[i] + h01 * b.x[i] + h11 * h * b.tangent[i];
    }
    if (derivative != nullptr) {
        const double d00 = 6.0 * s2 - 6.0 * s;
        const double d10 = 3.0 * s2 - 4.0 * s + 1.0;
        const double d01 = -6.0 * s2 + 6.0 * s;
        const double d11 = 3.0 * s2 - 2.0 * s;
        for (int i = 0; i < unknowns; ++i) {
            (*derivative)[i] =
                (d00 * a.x[i] + d01 * b.x[i]) / h + d10 * a.tangent[i] + d11 * b.tangent[i];
        }
    }
}

bool CrossingBetween(const TracePoint& a, const TracePoint& b, int unknowns, int index,
                     double level, bool slopeOf, double& arc) {
    auto f = [&](double at) {
        Vec v{};
        Vec d{};
        HermiteAt(a, b, at, unknowns, v, &d);
        return slopeOf ? d[index] : v[index] - level;
    };
    const double fa = slopeOf ? a.tangent[index] : a.x[index] - level;
    const double fb = slopeOf ? b.tangent[index] : b.x[index] - level;
    if (fa == 0.0) {
        arc = a.arc;
        return true;
    }
    if (fa * fb > 0.0) {
        return false;
    }
    double lo = a.arc;
    double hi = b.arc;
    for (int k = 0; k < 60; ++k) {
        const double mid = 0.5 * (lo + hi);
        const double fm = f(mid);
        if ((fm < 0.0) == (fa < 0.0)) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    arc = 0.5 * (lo + hi);
    return true;
}

bool CriticalCrossing(const BoundarySystem& system, const TraceLine& line, Vec& xAt) {
    const int k = line.criticalAfter;
    if (k < 0 || k + 1 >= static_cast<int>(line.points.size())) {
        return false;
    }
    const TracePoint& a = line.points[static_cast<std::size_t>(k)];
    const TracePoint& b = line.points[static_cast<std::size_t>(k) + 1];
    const int dom = DominantLnK(system, a.x);
    double arc = 0.0;
    if (!CrossingBetween(a, b, system.Unknowns(), dom, 0.0, false, arc)) {
        return false;
    }
    HermiteAt(a, b, arc, system.Unknowns(), xAt);
    return true;
}

int CrossingsBetween(const TracePoint& a, const TracePoint& b, int unknowns, int index,
                     double level, std::array<double, 2>& arcs) {
    // A turning point of the variable between the two points may hide two crossings.
    double turn = 0.0;
    if (a.tangent[index] * b.tangent[index] < 0.0 &&
        CrossingBetween(a, b, unknowns, index, 0.0, true, turn)) {
        int found = 0;
        // Each half, on the same cubic: bisect on the values directly.
        for (const auto& [lo0, hi0] : {std::pair{a.arc, turn}, std::pair{turn, b.arc}}) {
            auto f = [&](double at) {
                Vec w{};
                HermiteAt(a, b, at, unknowns, w);
                return w[index] - level;
            };
            double lo = lo0;
            double hi = hi0;
            const double flo = f(lo);
            if (flo * f(hi) > 0.0) {
                continue;
            }
            for (int k = 0; k < 60; ++k) {
                const double mid = 0.5 * (lo + hi);
                ((f(mid) < 0.0) == (flo < 0.0) ? lo : hi) = mid;
            }
            arcs[static_cast<std::size_t>(found++)] = 0.5 * (lo + hi);
        }
        return found;
    }
    return CrossingBetween(a, b, unknowns, index, level, false, arcs[0]) ? 1 : 0;
}

TraceLine TraceLineFromLowPressure(BoundarySystem& system, const TraceOptions& options) {
    const int n = system.Components();
    const int m = system.Unknowns();
    const int iT = TemperatureIndex(n);
    const int iP = PressureIndex(n);
    TraceLine line;
    line.beta = system.Beta();
    const auto present =
        std::count_if(system.Feed().begin(), system.Feed().end(), [](double v) { return v > 0.0; });
    // Where the start pressure gives no first point (Wilson's K-values too far off, or a
    // liquid a hair above its co-volume), lower and then higher ones are tried.
    Vec x{};
    bool started = false;
    for (const double factor : {1.0, 0.1, 0.01, 0.001, 10.0, 100.0}) {
        const double p = options.startPressPsia * factor;
        if (p > 1e-8 && p <= 1000.0) {
            started = StartPoint(system, p, x);
        }
        if (started) {
            break;
        }
    }
    if (!started) {
        line.end = TraceEnd::NoStart;
        return line;
    }
    TracePoint first;
    first.x = x;
    first.zx = system.LastZx();
    first.zy = system.LastZy();
    Vec up{};
    up[iP] = 1.0;
    up[iT] = 1e-6;
    if (!system.Sensitivity(first.tangent) || !Orient(system, first.tangent, up)) {
        line.end = TraceEnd::NoStart;
        return line;
    }
    line.points.push_back(first);
    if (options.onPoint && !options.onPoint(first)) {
        line.end = TraceEnd::Cancelled;
        return line;
    }

    SolveOptions solve;
    solve.maxIterations = 10;
    // A Newton step that must be halved more than twice means the prediction went too far: a
    // shorter arc step costs less than more halvings.
    solve.largestCuts = 2;
    solve.tolerance = kTraceTolerance;
    double step = options.initialStep;
    const double lowestLnP = std::min(std::log(options.startPressPsia), x[iP]) - 1e-9;
    for (;;) {
        if (static_cast<int>(line.points.size()) >= options.pointLimit) {
            line.end = TraceEnd::PointLimit;
            return line;
        }
        const TracePoint cur = line.points.back();
        const TracePoint* prev =
            line.points.size() >= 2 ? &line.points[line.points.size() - 2] : nullptr;
        Vec next{};
        int fixed = iP;
        double value = 0.0;
        SolveResult solved;
        bool good = false;
        while (!good) {
            Vec predicted{};
            if (prev != nullptr) {
                HermiteAt(*prev, cur, cur.arc + step, m, predicted);
            } else {
                for (int i = 0; i < m; ++i) {
                    predicted[i] = cur.x[i] + step * cur.tangent[i];
                }
            }
            fixed = iP;
            double largest = -1.0;
            for (int i = 0; i < m; ++i) {
                if (Counts(system, i) && std::fabs(cur.tangent[i]) > largest) {
                    largest = std::fabs(cur.tangent[i]);
                    fixed = i;
                }
            }
            value = predicted[fixed];
            if (fixed < n && cur.x[fixed] * value < 0.0) {
                // The specified K-value would pass through 1: land as far on the other side
                // of the critical point as the last point lies on this one.
                value = -cur.x[fixed];
                const double along = (value - cur.x[fixed]) / cur.tangent[fixed];
                for (int i = 0; i < m; ++i) {
                    predicted[i] = cur.x[i] + along * cur.tangent[i];
                }
            }
            next = predicted;
            system.SetSwapped(cur.swapped);
            solved = system.Solve(next, fixed, value, solve);
            good = solved.status == SolveStatus::Converged && !system.Trivial(next);
            if (good) {
                // A point far from the prediction belongs to another branch.
                const double jump = Distance(system, next, cur.x);
                good = jump <= 3.0 * Distance(system, predicted, cur.x) + 1e-6;
            }
            if (!good) {
                step *= 0.5;
                if (step < 1e-7) {
                    line.end = TraceEnd::StepFailed;
                    return line;
                }
            }
        }
        TracePoint point;
        point.x = next;
        point.swapped = cur.swapped;
        point.iterations = solved.iterations;
        const int dom = DominantLnK(system, cur.x);
        // One component keeps K = 1 all along its vapour-pressure curve: nothing to cross.
        if (present > 1 && cur.x[dom] * next[dom] < 0.0) {
            // Past the critical point: the phases change roles and roots.
            if (line.criticalAfter < 0) {
                line.criticalAfter = static_cast<int>(line.points.size()) - 1;
            }
            point.swapped = !cur.swapped;
            Vec again = next;
            system.SetSwapped(point.swapped);
            const SolveResult r = system.Solve(again, fixed, value, solve);
            if (r.status == SolveStatus::Converged && !system.Trivial(again)) {
                point.x = again;
            }
        }
        point.zx = system.LastZx();
        point.zy = system.LastZy();
        Vec moved{};
        for (int i = 0; i < m; ++i) {
            moved[i] = point.x[i] - cur.x[i];
        }
        if (!system.Sensitivity(point.tangent) || !Orient(system, point.tangent, moved)) {
            line.end = TraceEnd::StepFailed;
            return line;
        }
        point.arc = cur.arc + Distance(system, point.x, cur.x);
        line.points.push_back(point);
        if (options.onPoint && !options.onPoint(point)) {
            line.end = TraceEnd::Cancelled;
            return line;
        }
        const double grow = solved.iterations <= 2   ? 2.0
                            : solved.iterations <= 3 ? 1.5
                            : solved.iterations <= 4 ? 1.1
                            : solved.iterations <= 6 ? 0.8
                                                     : 0.5;
        step = std::min(step * grow, options.largestStep);
        const double tSlope = std::fabs(point.tangent[iT]);
        const double pSlope = std::fabs(point.tangent[iP]);
        if (tSlope * step > options.largestLnTStep) {
            step = options.largestLnTStep / tSlope;
        }
        if (pSlope * step > options.largestLnPStep) {
            step = options.largestLnPStep / pSlope;
        }
        if (options.stopAfterCritical && line.criticalAfter >= 0) {
            line.end = TraceEnd::PastCritical;
            return line;
        }
        const double lnP = point.x[iP];
        const double tR = std::exp(point.x[iT]);
        if (lnP < lowestLnP && point.tangent[iP] < 0.0) {
            line.end = TraceEnd::LowPressure;
            return line;
        }
        if (std::exp(lnP) > options.highestPressPsia) {
            line.end = TraceEnd::HighPressure;
            return line;
        }
        if (tR < options.lowestTempR || tR > options.highestTempR) {
            line.end = TraceEnd::TemperatureRange;
            return line;
        }
    }
}

} // namespace quorvane::envelope
