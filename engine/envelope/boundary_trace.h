#pragma once

#include "engine/envelope/boundary_system.h"

#include <array>
#include <functional>
#include <vector>

// Continuation along a line of constant vapour fraction β (β = 1: the dew curve, which goes on
// past the critical point as the bubble curve; 0 < β < 1: a quality line, which goes on as the
// line of 1 − β). The line starts at a low pressure, where Wilson's K-values are good starting
// values, and every further point is predicted from the last two (a cubic in the arc length of
// X = (ln K, ln T, ln P), with their tangents) and solved by Newton's method with the unknown
// that changes fastest specified, as Michelsen (1980) describes. Near the critical point that
// unknown is a ln K: the step is set to land across zero, and the critical point lies between
// the two points where the K-values change sides.

namespace quorvane::envelope {

struct TracePoint {
    Vec x{};       // the unknowns
    Vec tangent{}; // unit tangent dX/dσ, oriented along the trace
    double arc = 0.0;
    bool swapped = false; // past the critical point: x takes the vapour-like root
    double zx = 0.0, zy = 0.0;
    int iterations = 0; // Newton iterations the point took
};

struct TraceOptions {
    double startPressPsia = 14.7; // lower, then higher ones are tried when it gives no point
    double highestPressPsia = 1.0e5;
    double lowestTempR = 5.0;
    double highestTempR = 5000.0;
    double initialStep = 0.05;
    // Longest step in the arc length of X, and in ln T and ln P (the resolution of the line in
    // the temperature-pressure plane).
    double largestStep = 2.0;
    double largestLnTStep = 0.03;
    double largestLnPStep = 0.15;
    int pointLimit = 400;
    // End the line at the first point past the critical point (a search that needs only
    // the line of the given vapour fraction, not its continuation).
    bool stopAfterCritical = false;
    // Called after every point; returning false ends the trace as cancelled.
    std::function<bool(const TracePoint&)> onPoint;
};

enum class TraceEnd {
    LowPressure,  // came back down to the start pressure
    PastCritical, // stopped at the first point past the critical point, as asked
    HighPressure, // rose past the highest pressure (no critical point there)
    TemperatureRange,
    PointLimit,
    StepFailed, // no step, however short, could be solved
    Cancelled,
    NoStart // the low-pressure start point could not be solved
};

struct TraceLine {
    double beta = 1.0;
    std::vector<TracePoint> points;
    int criticalAfter = -1; // the last point before the K-values change sides
    TraceEnd end = TraceEnd::NoStart;
};

// The component present in the feed whose ln K in X is the largest in magnitude: the K-value
// that tells the two sides of the critical point apart.
int DominantLnK(const BoundarySystem& system, const Vec& x);

// ln T (T in °R) where Wilson's K-values put the system's line at pressure P (psia): the root of
// Σ z_i·(K_i − 1)/(1 − β + β·K_i) in T. NaN when there is none between 20 and 8000 °R.
double WilsonLnTemperature(BoundarySystem& system, double pressPsia);

// The point of the line at pressure P (psia) from Wilson's K-values; false when Newton's method
// does not reach it.
bool StartPoint(BoundarySystem& system, double pressPsia, Vec& xVars);

TraceLine TraceLineFromLowPressure(BoundarySystem& system, const TraceOptions& options);

// Where the K-values of a line change sides: the critical point interpolated on the cubic
// between the two points around it (X at that arc length in xAt). False when the line did not
// cross it.
bool CriticalCrossing(const BoundarySystem& system, const TraceLine& line, Vec& xAt);

// The cubic through two neighbouring points with their tangents, evaluated at arc length σ
// (values, and the derivative dX/dσ when derivative is given).
void HermiteAt(const TracePoint& a, const TracePoint& b, double arc, int unknowns, Vec& value,
               Vec* derivative = nullptr);

// The arc length in [a.arc, b.arc] where component index of the cubic crosses level (or where
// its derivative crosses zero, when slopeOf is set); false when it does not change sign there.
bool CrossingBetween(const TracePoint& a, const TracePoint& b, int unknowns, int index,
                     double level, bool slopeOf, double& arc);

// Every arc length between the two points where component index of the cubic crosses level:
// none, one, or two when the variable turns between them. Returns how many (in arcs).
int CrossingsBetween(const TracePoint& a, const TracePoint& b, int unknowns, int index,
                     double level, std::array<double, 2>& arcs);

} // namespace quorvane::envelope
