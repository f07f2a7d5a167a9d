#pragma once

#include "engine/envelope/boundary_system.h"
#include "engine/envelope/mixture_envelope.h"
#include "engine/eos/phase_fugacity.h"

#include <array>
#include <cmath>
#include <span>
#include <vector>

// Saturation points and points of given vapour fraction at a given temperature or pressure:
// confirming one that another routine found (Newton's method on the full set of equations,
// then the checks that make it a genuine phase boundary), and finding every such point from
// the line of that vapour fraction traced from a low pressure. The phase-envelope tracer and
// the flash routines share these.

namespace quorvane::envelope {

enum class Given { Temperature, Pressure };

struct PointQuery {
    Given given = Given::Temperature;
    double value = 0.0;          // °F or psia
    double vapourFraction = 0.0; // 0: bubble point, 1: dew point, between: a split at that fraction
};

// A point in 64 bits, in the user's terms: x the liquid, y the vapour, K = y/x.
struct BoundaryPoint {
    double tempF = 0.0;
    double pressPsia = 0.0;
    double vapourFraction = 0.0;
    std::array<double, kMaxComponents> k{}, x{}, y{};
    double liquidZ = 0.0;
    double vapourZ = 0.0;
};

enum class PointStatus {
    Genuine,           // verified (see PointCheck)
    NotSolved,         // Newton's method did not reach equal fugacities from it
    Trivial,           // the two phases came out the same fluid
    NoPhaseChange,     // the feed is stable on both sides: no phase boundary there
    UnstableBothSides, // the feed splits on both sides (into a second liquid, for one)
    UnstablePhase,     // a phase of the split is itself unstable (a third phase)
    NotEvaluated       // the equation of state could not be evaluated there
};

// How a point was verified, the way a flash carries its iteration count.
struct PointCheck {
    PointStatus status = PointStatus::NotSolved;
    // Largest |ln(f_V,i/f_L,i)| over the components present, or |Σ y − Σ x| if larger, at the
    // point as solved in 64 bits.
    double residual = 0.0;
    int iterations = 0; // Newton steps taken to confirm it
    // Saturation points: the relative step of the free variable (P at a given T, T in °R at a
    // given P) at which the stability of the feed was tested on both sides, and the smallest
    // tangent-plane distances found there (one side ≥ 0, the other < 0).
    double probe = 0.0;
    double distanceOnePhase = 0.0;
    double distanceTwoPhase = 0.0;
};

// Tolerance of a confirmed point on the residual above. Newton's method takes it near 1e-14
// at most points, but a dense liquid at a low pressure (a heavy component's first drops at a
// fraction of a psia, its Z a hair above the co-volume's B) leaves the liquid's ln φ with
// rounding of about 1e-9, where the residual then stalls.
inline constexpr double kPointTolerance = 1e-8;

// The unknown of a phase-boundary system the query holds (ln T or ln P), and its value there.
inline int QueryIndex(const PointQuery& query, int n) {
    return query.given == Given::Temperature ? TemperatureIndex(n) : PressureIndex(n);
}
inline double QueryLevel(const PointQuery& query) {
    return query.given == Given::Temperature ? std::log(query.value + kRankineOffset)
                                             : std::log(query.value);
}

// Newton's method as a point is confirmed: up to 30 steps, to the full tolerance.
inline SolveOptions ConfirmSolveOptions() {
    SolveOptions options;
    options.maxIterations = 30;
    return options;
}

// Newton's method with options on the system's line from X (in: a start, out: the solution)
// with the query's variable held, then the checks of ConfirmPoint; the point is filled from
// the solution. The system's last factorisation is that of the solution. With quickTrials
// above 0 the stability across a saturation point is tested quickly: at the smallest step
// only, with trials of at most that many steps (an instability that shows within them is
// found; Genuine is then not a proof).
PointCheck ConfirmOnLine(BoundarySystem& system, const PointQuery& query, Vec& xVars,
                         BoundaryPoint& point, const SolveOptions& options = ConfirmSolveOptions(),
                         int quickTrials = 0);

// Confirms `point` (in: a candidate, out: the polished point) at the query's given variable.
// A component absent from the feed gets the K of infinite dilution in the two phases.
PointCheck ConfirmPoint(const EnvelopeMixture& mixture, std::span<const float> z,
                        const PointQuery& query, BoundaryPoint& point);

struct PointSearch {
    // Every genuine point at the query, by increasing free variable (P at a given T, T at a
    // given P), each with its check.
    std::vector<BoundaryPoint> points;
    std::vector<PointCheck> checks;
    // Solutions of the equations that are not phase boundaries of vapour-liquid equilibrium:
    // the feed is unstable on both sides of them, or a phase of the split is itself unstable
    // (a second liquid phase).
    std::vector<BoundaryPoint> unstable;
    // Where the line of the query's vapour fraction ends (a mixture's lines all end at its
    // critical point), as interpolated between the traced points around it; not found when
    // the point was solved where it was asked for (below).
    SpecialPoint critical;
    bool traced = false; // false when the line could not be started at a low pressure
};

// A bubble or dew point of a mixture is first solved at the given value itself, and stands
// alone when the envelope's other crossing there is shown to lie on the complementary branch
// (level_points.h); otherwise, and for every other vapour fraction, the line is traced (from
// the given pressure, and again from a low pressure when that line gives no point).
PointSearch FindPoints(const EnvelopeMixture& mixture, std::span<const float> z,
                       const PointQuery& query);

// The pressure (psia) the search starts its line from: at a given temperature a fifth of
// Wilson's estimate of the line's pressure there (at most 10 psia), below the point asked
// for; at a given pressure that pressure itself (at most 1000 psia).
double SearchStartPressure(const EnvelopeMixture& mixture, std::span<const float> z,
                           const PointQuery& query);

} // namespace quorvane::envelope
