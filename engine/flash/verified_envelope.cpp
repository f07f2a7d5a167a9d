#include "engine/flash/verified_envelope.h"

#include "common/precision.h"
#include "engine/envelope/boundary_points.h"
#include "engine/flash/saturation_check.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace quorvane {

namespace {

using envelope::BoundaryPoint;
using envelope::Given;
using envelope::PointQuery;

// A point re-solved or confirmed lies within this reach of where it was started from in its
// free variable (ln P at a given temperature, T at a given pressure): farther, Newton's
// method has gone over to another branch of the envelope.
constexpr double kReachLnP = 0.2;
constexpr double kReachTempF = 20.0;
// Within these the routine's answer is the confirmed point (the polish changed rounding only).
constexpr double kSameRelativeP = 1e-3;
constexpr double kSameTempF = 0.1;

bool ByPressure(SaturationRoutine routine) {
    return routine == SaturationRoutine::BubbleTemperature ||
           routine == SaturationRoutine::DewTemperature;
}

SaturationRoutine RoutineFor(EnvelopeCurve curve, Given given) {
    if (curve == EnvelopeCurve::Bubble) {
        return given == Given::Pressure ? SaturationRoutine::BubbleTemperature
                                        : SaturationRoutine::BubblePressure;
    }
    return given == Given::Pressure ? SaturationRoutine::DewTemperature
                                    : SaturationRoutine::DewPressure;
}

int Index(EnvelopeCurve curve) {
    return curve == EnvelopeCurve::Bubble ? 0 : 1;
}

// The routine's answer as a starting point, when it has a finite state.
bool RoutineStart(const FlashResults& out, std::span<const float> z, BoundaryPoint& point) {
    const bool finite = std::isfinite(out.tempF) && std::isfinite(out.pressPsia) &&
                        out.pressPsia > 0.0F && out.k.size() >= z.size();
    if (finite) {
        point.tempF = out.tempF;
        point.pressPsia = out.pressPsia;
        std::copy_n(out.k.begin(), z.size(), point.k.begin());
    }
    return finite;
}

bool WithinReach(const PointQuery& query, const BoundaryPoint& from, const BoundaryPoint& to) {
    if (query.given == Given::Temperature) {
        return std::fabs(std::log(to.pressPsia / from.pressPsia)) <= kReachLnP;
    }
    return std::fabs(to.tempF - from.tempF) <= kReachTempF;
}

// Writes a confirmed point into the routine's results: the saturated phase is the feed, the
// given variable keeps its given value.
void Store(const BoundaryPoint& p, const PointQuery& query, std::span<const float> z,
           FlashResults& out) {
    const std::size_t n = z.size();
    out.x.resize(std::max(out.x.size(), n));
    out.y.resize(std::max(out.y.size(), n));
    out.k.resize(std::max(out.k.size(), n));
    for (std::size_t i = 0; i < n; ++i) {
        out.x[i] = query.vapourFraction == 0.0 ? z[i] : ToSingle(p.x[i]);
        out.y[i] = query.vapourFraction == 1.0 ? z[i] : ToSingle(p.y[i]);
        out.k[i] = ToSingle(p.k[i]);
    }
    if (query.given == Given::Temperature) {
        out.pressPsia = ToSingle(p.pressPsia);
    } else {
        out.tempF = ToSingle(p.tempF);
    }
    out.liquidZ = ToSingle(p.liquidZ);
    out.vapourZ = ToSingle(p.vapourZ);
    out.converged = true;
}

// The outline of the envelope by continuation: the bubble and dew lines, each from a low
// pressure to the critical point, in coordinates (ln T, ln P) scaled to their extent.
class Outline {
public:
    explicit Outline(const envelope::PhaseEnvelope& continuation)
        : m_lines{&continuation.bubble, &continuation.dew} {
        double uMin = 1e300, uMax = -1e300, vMin = 1e300, vMax = -1e300;
        double tMin = 1e300, tMax = -1e300, pMax = 0.0;
        for (const auto* line : m_lines) {
            for (const auto& p : *line) {
                const Scaled s = Raw(p.tempF, p.pressPsia);
                uMin = std::min(uMin, s.u);
                uMax = std::max(uMax, s.u);
                vMin = std::min(vMin, s.v);
                vMax = std::max(vMax, s.v);
                tMin = std::min(tMin, p.tempF);
                tMax = std::max(tMax, p.tempF);
                pMax = std::max(pMax, p.pressPsia);
            }
        }
        m_u = std::max(uMax - uMin, 1e-6);
        m_v = std::max(vMax - vMin, 1e-6);
        m_plotT = std::max(tMax - tMin, 1e-6);
        m_plotP = std::max(pMax, 1e-6);
        // Every point is located against both lines: their scaled points are kept.
        for (std::size_t c = 0; c < m_lines.size(); ++c) {
            m_scaled[c].reserve(m_lines[c]->size());
            for (const auto& p : *m_lines[c]) {
                m_scaled[c].push_back(Scale(p.tempF, p.pressPsia));
            }
        }
    }

    // How far the point v lies from the straight line from a to b as the plot draws it (linear
    // in T and P), as a fraction of the envelope's extent.
    double Departure(const envelope::EnvelopePoint& a, const envelope::EnvelopePoint& v,
                     const envelope::EnvelopePoint& b) const {
        const double du = (b.tempF - a.tempF) / m_plotT;
        const double dv = (b.pressPsia - a.pressPsia) / m_plotP;
        const double eu = (v.tempF - a.tempF) / m_plotT;
        const double ev = (v.pressPsia - a.pressPsia) / m_plotP;
        const double length = std::hypot(du, dv);
        return length > 0.0 ? std::fabs(du * ev - dv * eu) / length : std::hypot(eu, ev);
    }

    // The length of the step from a to b as the plot draws it, as a fraction of its extent.
    double PlotLength(const envelope::EnvelopePoint& a, const envelope::EnvelopePoint& b) const {
        return std::hypot((b.tempF - a.tempF) / m_plotT, (b.pressPsia - a.pressPsia) / m_plotP);
    }

    const std::vector<envelope::EnvelopePoint>& Line(EnvelopeCurve curve) const {
        return *m_lines[Index(curve)];
    }

    // Whether the point lies nearer the line of its own curve than the other: a point of one
    // curve found past the critical point lies on the other.
    bool OnItsCurve(EnvelopeCurve curve, double tempF, double pressPsia) const {
        const EnvelopeCurve other =
            curve == EnvelopeCurve::Bubble ? EnvelopeCurve::Dew : EnvelopeCurve::Bubble;
        if (Line(curve).size() < 2 || Line(other).size() < 2) {
            return true; // nothing to compare with
        }
        const Scaled at = Scale(tempF, pressPsia);
        return Nearest(curve, at).distance <= Nearest(other, at).distance;
    }

    // Where a point lies along the curve's line, as a fractional index of its points (the
    // foot of the perpendicular on the nearest segment), and how far off it (scaled).
    struct Place {
        double along = 0.0;
        double distance = 0.0;
    };
    Place Locate(EnvelopeCurve curve, double tempF, double pressPsia) const {
        const Foot foot = Nearest(curve, Scale(tempF, pressPsia));
        return Place{static_cast<double>(foot.segment) + foot.t, foot.distance};
    }

private:
    struct Scaled {
        double u = 0.0;
        double v = 0.0;
    };
    struct Foot {
        std::size_t segment = 0; // from point segment to segment + 1
        double t = 0.0;          // the fraction of the segment
        double distance = 1e300;
    };

    static Scaled Raw(double tempF, double pressPsia) {
        return Scaled{std::log(tempF + kRankineOffset), std::log(pressPsia)};
    }
    Scaled Scale(double tempF, double pressPsia) const {
        const Scaled s = Raw(tempF, pressPsia);
        return Scaled{s.u / m_u, s.v / m_v};
    }
    static double Distance(Scaled a, Scaled b) { return std::hypot(a.u - b.u, a.v - b.v); }

    Foot Nearest(EnvelopeCurve curve, Scaled at) const {
        const std::vector<Scaled>& line = m_scaled[Index(curve)];
        Foot foot;
        for (std::size_t j = 0; j + 1 < line.size(); ++j) {
            const Scaled a = line[j];
            const Scaled b = line[j + 1];
            const double du = b.u - a.u;
            const double dv = b.v - a.v;
            const double length2 = du * du + dv * dv;
            const double t =
                length2 > 0.0
                    ? std::clamp(((at.u - a.u) * du + (at.v - a.v) * dv) / length2, 0.0, 1.0)
                    : 0.0;
            const double d = Distance(at, Scaled{a.u + t * du, a.v + t * dv});
            if (d < foot.distance) {
                foot = Foot{j, t, d};
            }
        }
        return foot;
    }

    std::array<const std::vector<envelope::EnvelopePoint>*, 2> m_lines;
    std::array<std::vector<Scaled>, 2> m_scaled; // the lines' points in scaled coordinates
    double m_u = 1.0;
    double m_v = 1.0;
    double m_plotT = 1.0; // the temperature span of the envelope, °F
    double m_plotP = 1.0; // its highest pressure, psia
};

// The check of every traced point; it remembers the last point drawn on each curve.
class Verifier {
public:
    Verifier(const envelope::EnvelopeMixture& mixture, std::span<const float> z,
             std::span<const float> mw, const Outline* outline)
        : m_mixture(mixture), m_z(z), m_mw(mw), m_outline(outline) {}

    PointVerdict operator()(PointCandidate& candidate);

    // Confirms the point at query from start (K-values, T and P); true, with the polished
    // point in start, when it is a genuine saturation point of the curve.
    bool Confirm(EnvelopeCurve curve, const PointQuery& query, BoundaryPoint& start) const;

private:
    const envelope::EnvelopeMixture& m_mixture;
    std::span<const float> m_z;
    std::span<const float> m_mw;
    const Outline* m_outline;
    std::array<bool, 2> m_have{};
    std::array<BoundaryPoint, 2> m_last{};
    std::array<bool, 2> m_missing{}; // the routine's last answer on the curve was not the point
};

bool Verifier::Confirm(EnvelopeCurve curve, const PointQuery& query, BoundaryPoint& start) const {
    if (envelope::ConfirmPoint(m_mixture, m_z, query, start).status !=
        envelope::PointStatus::Genuine) {
        return false;
    }
    // The liquid is the denser phase (ρ = P·M/(Z·R·T), P and T common to both): a point
    // confirmed with the phases' roles the other way round belongs to the other curve.
    double mL = 0.0;
    double mV = 0.0;
    for (std::size_t i = 0; i < m_z.size(); ++i) {
        mL += start.x[i] * m_mw[i];
        mV += start.y[i] * m_mw[i];
    }
    if (!(start.liquidZ > 0.0 && start.vapourZ > 0.0 && mL / start.liquidZ > mV / start.vapourZ)) {
        return false;
    }
    // So does a point beside the other curve: near the critical point the phases differ too
    // little for their densities to tell.
    return m_outline == nullptr || m_outline->OnItsCurve(curve, start.tempF, start.pressPsia);
}

PointVerdict Verifier::operator()(PointCandidate& candidate) {
    const bool byPressure = ByPressure(candidate.routine);
    const PointQuery query{byPressure ? Given::Pressure : Given::Temperature,
                           byPressure ? candidate.result.pressPsia : candidate.result.tempF,
                           candidate.curve == EnvelopeCurve::Bubble ? 0.0 : 1.0};
    const int c = Index(candidate.curve);
    BoundaryPoint routine;
    const bool haveRoutine = RoutineStart(candidate.result, m_z, routine);

    // The routine's own answer, polished; or the point at the same given variable solved again
    // from the last point drawn on the curve. While the routine keeps missing, the second goes
    // first: a failed confirmation costs as much as a successful one.
    auto fromRoutine = [&](BoundaryPoint& p) {
        p = routine;
        return haveRoutine && Confirm(candidate.curve, query, p) && WithinReach(query, routine, p);
    };
    auto fromLast = [&](BoundaryPoint& p) {
        if (!m_have[c]) {
            return false;
        }
        p = m_last[c];
        return Confirm(candidate.curve, query, p) && WithinReach(query, m_last[c], p);
    };
    BoundaryPoint p;
    const bool found = m_missing[c] ? fromLast(p) || fromRoutine(p) : fromRoutine(p) || fromLast(p);
    if (!found) {
        m_missing[c] = true;
        return PointVerdict::Drop;
    }
    // The routine got it right when the confirmed point is its answer up to the rounding of
    // its own iterations.
    const bool same = haveRoutine &&
                      std::fabs(p.pressPsia / routine.pressPsia - 1.0) <= kSameRelativeP &&
                      std::fabs(p.tempF - routine.tempF) <= kSameTempF;
    m_missing[c] = !same;
    m_have[c] = true;
    m_last[c] = p;
    Store(p, query, m_z, candidate.result);
    return same ? PointVerdict::Accept : PointVerdict::Resolved;
}

// K-values of a drawn point from its incipient phase (the feed is the other phase).
BoundaryPoint StartOf(const EnvelopePoint& point, EnvelopeCurve curve, std::span<const float> z) {
    BoundaryPoint start;
    start.tempF = point.tempF;
    start.pressPsia = point.pressPsia;
    for (std::size_t i = 0; i < z.size(); ++i) {
        const double w = point.incipient[i];
        start.k[i] =
            z[i] > 0.0F && w > 0.0 ? (curve == EnvelopeCurve::Bubble ? w / z[i] : z[i] / w) : 1.0;
    }
    return start;
}

// A confirmed point as it is drawn, added to the curve at the given variable.
EnvelopePoint Added(const BoundaryPoint& p, EnvelopeCurve curve, Given given) {
    EnvelopePoint point{
        ToSingle(p.tempF), ToSingle(p.pressPsia), RoutineFor(curve, given), 0, false, true};
    const auto& incipient = curve == EnvelopeCurve::Bubble ? p.y : p.x;
    for (std::size_t j = 0; j < point.incipient.size(); ++j) {
        point.incipient[j] = ToSingle(incipient[j]);
    }
    return point;
}

// Given the variable that changes more in its logarithm from a to b (the other is then well
// defined by it).
Given GivenAlong(const envelope::EnvelopePoint& a, const envelope::EnvelopePoint& b) {
    const double dLnT =
        std::fabs(std::log((b.tempF + kRankineOffset) / (a.tempF + kRankineOffset)));
    const double dLnP = std::fabs(std::log(b.pressPsia / a.pressPsia));
    return dLnP > dLnT ? Given::Pressure : Given::Temperature;
}

envelope::EnvelopePoint Plotted(const EnvelopePoint& p) {
    return envelope::EnvelopePoint{p.tempF, p.pressPsia};
}

// A drawn point this near the continuation's line (scaled) is placed on it.
constexpr double kOnLine = 0.02;

// Fills the stretches of the curve where the straight line between two drawn points would
// visibly miss the envelope, and carries the curve on from its last point to the critical
// point, with the points of the continuation's line between them (each confirmed as a traced
// point is, starting from the drawn point before it). Returns how many were added.
int FillFromLine(PhaseEnvelope& e, EnvelopeCurve curve, const Verifier& verifier,
                 const Outline& outline, std::span<const float> z) {
    // A line point is taken where it lies at least this fraction of a segment beyond one drawn
    // point and before the next, and, between two drawn points, at least this fraction of the
    // plot away from the straight line between them (about two pixels of an ordinary window).
    constexpr double kMargin = 0.25;
    constexpr double kVisible = 0.002;
    std::vector<EnvelopePoint>& drawn = curve == EnvelopeCurve::Bubble ? e.bubble : e.dew;
    const std::vector<envelope::EnvelopePoint>& line = outline.Line(curve);
    if (drawn.empty() || line.size() < 2) {
        return 0;
    }
    // The last point of the line is the critical point itself: the join, not a point drawn.
    const std::size_t critical = line.size() - 1;
    std::vector<EnvelopePoint> filled;
    filled.reserve(drawn.size() + line.size());
    int added = 0;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        filled.push_back(drawn[i]);
        const bool last = i + 1 == drawn.size();
        const envelope::EnvelopePoint next = last ? line[critical] : Plotted(drawn[i + 1]);
        const Outline::Place from = outline.Locate(curve, drawn[i].tempF, drawn[i].pressPsia);
        const Outline::Place to = last ? Outline::Place{static_cast<double>(critical), 0.0}
                                       : outline.Locate(curve, next.tempF, next.pressPsia);
        if (from.distance > kOnLine || to.distance > kOnLine) {
            continue;
        }
        for (auto k = static_cast<std::size_t>(std::floor(from.along + kMargin)) + 1;
             k < critical && static_cast<double>(k) < to.along - kMargin; ++k) {
            if (!last && outline.Departure(Plotted(filled.back()), line[k], next) < kVisible) {
                continue;
            }
            const Given given = GivenAlong(line[k - 1], line[k + 1]);
            const PointQuery query{given,
                                   given == Given::Pressure ? line[k].pressPsia : line[k].tempF,
                                   curve == EnvelopeCurve::Bubble ? 0.0 : 1.0};
            BoundaryPoint p = StartOf(filled.back(), curve, z);
            p.tempF = line[k].tempF;
            p.pressPsia = line[k].pressPsia;
            if (!verifier.Confirm(curve, query, p)) {
                continue;
            }
            filled.push_back(Added(p, curve, given));
            ++added;
        }
    }
    drawn = std::move(filled);
    return added;
}

// Splits the steps of the curve that are long on the plot, its last one to the critical point
// included: the tracer's steps grow where the curve is straight in its own variables, and such
// a step shows as a corner where the curve bends (near the critical point above all). Points
// are confirmed at even spacing of the variable that changes more along the step, each from
// the drawn point before it, and kept when they lie on the step's own stretch of the
// continuation's line. Returns how many were added.
int SplitLongSteps(PhaseEnvelope& e, EnvelopeCurve curve, const Verifier& verifier,
                   const Outline& outline, std::span<const float> z) {
    constexpr double kLong = 0.05; // of the plot's extent
    constexpr int kMostPieces = 6;
    std::vector<EnvelopePoint>& drawn = curve == EnvelopeCurve::Bubble ? e.bubble : e.dew;
    const std::vector<envelope::EnvelopePoint>& line = outline.Line(curve);
    if (drawn.empty() || line.size() < 2) {
        return 0;
    }
    std::vector<EnvelopePoint> split;
    split.reserve(drawn.size() + 16);
    int added = 0;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        split.push_back(drawn[i]);
        const bool last = i + 1 == drawn.size();
        const envelope::EnvelopePoint a = Plotted(drawn[i]);
        const envelope::EnvelopePoint b = last ? line.back() : Plotted(drawn[i + 1]);
        const int pieces =
            std::min(kMostPieces, static_cast<int>(std::ceil(outline.PlotLength(a, b) / kLong)));
        if (pieces < 2) {
            continue;
        }
        const Outline::Place from = outline.Locate(curve, a.tempF, a.pressPsia);
        const Outline::Place to = last ? Outline::Place{static_cast<double>(line.size() - 1), 0.0}
                                       : outline.Locate(curve, b.tempF, b.pressPsia);
        if (from.distance > kOnLine || to.distance > kOnLine) {
            continue;
        }
        const Given given = GivenAlong(a, b);
        for (int k = 1; k < pieces; ++k) {
            const double f = static_cast<double>(k) / pieces;
            const double tempF = a.tempF + f * (b.tempF - a.tempF);
            const double pressPsia = a.pressPsia + f * (b.pressPsia - a.pressPsia);
            const PointQuery query{given, given == Given::Pressure ? pressPsia : tempF,
                                   curve == EnvelopeCurve::Bubble ? 0.0 : 1.0};
            BoundaryPoint p = StartOf(split.back(), curve, z);
            p.tempF = tempF;
            p.pressPsia = pressPsia;
            if (!verifier.Confirm(curve, query, p)) {
                continue;
            }
            const Outline::Place at = outline.Locate(curve, p.tempF, p.pressPsia);
            if (at.distance > kOnLine || at.along < std::min(from.along, to.along) ||
                at.along > std::max(from.along, to.along)) {
                continue;
            }
            split.push_back(Added(p, curve, given));
            ++added;
        }
    }
    drawn = std::move(split);
    return added;
}

} // namespace

PhaseEnvelope TraceVerifiedEnvelope(const FlashCase& flashCase, std::span<const float> mw,
                                    FlashState& state, const EnvelopeOptions& options,
                                    bool qualityLines) {
    CheckEnvelopeCase(flashCase, mw);
    const auto n = static_cast<std::size_t>(flashCase.n);
    const std::span<const float> z(flashCase.z.data(), n);
    const KijTable kij = RunKijTable(flashCase);
    const envelope::EnvelopeMixture mixture{flashCase.Eos(), std::span(flashCase.tcF).first(n),
                                            std::span(flashCase.pcPsia).first(n),
                                            std::span(flashCase.w).first(n), kij.View()};

    // The envelope by continuation first: its critical point tells the curves apart.
    envelope::EnvelopeOptions continuation;
    if (qualityLines) {
        continuation.qualities = {0.25, 0.5, 0.75};
    }
    continuation.progress = [&](const envelope::EnvelopeProgress& progress) {
        EnvelopeProgress stage;
        stage.continuation = true;
        stage.continuationPoints = progress.points;
        return !options.progress || options.progress(stage);
    };
    envelope::PhaseEnvelope outlineOf;
    try {
        outlineOf = envelope::TracePhaseEnvelope(mixture, z, continuation);
    } catch (const EngineError& error) {
        outlineOf.note =
            std::string("The envelope could not be traced by continuation: ") + error.what();
    }
    if (outlineOf.cancelled) {
        PhaseEnvelope stopped;
        stopped.cancelled = true;
        return stopped;
    }
    const Outline outline(outlineOf);
    const bool critical = outlineOf.critical.found;

    Verifier verifier(mixture, z, mw.first(n), critical ? &outline : nullptr);
    EnvelopeOptions checked;
    checked.progress = options.progress;
    checked.check = [&verifier](PointCandidate& candidate) { return verifier(candidate); };
    PhaseEnvelope e = TraceCaseEnvelope(flashCase, mw, state, checked);
    if (!e.cancelled && critical) {
        for (const EnvelopeCurve curve : {EnvelopeCurve::Bubble, EnvelopeCurve::Dew}) {
            e.added += FillFromLine(e, curve, verifier, outline, z);
            e.added += SplitLongSteps(e, curve, verifier, outline, z);
        }
        e.closed = !e.bubble.empty() && !e.dew.empty();
    }
    e.continuation = std::move(outlineOf);
    return e;
}

} // namespace quorvane
