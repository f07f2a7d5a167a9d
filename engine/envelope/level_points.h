#pragma once

#include "engine/envelope/boundary_points.h"
#include "engine/envelope/boundary_system.h"

#include <span>

// Bubble and dew points found where they are asked for, without tracing a line: Newton's method
// on the full equations at the given temperature or pressure, from Wilson's K-values there,
// and the test that settles whether the point found is the only one of its kind there.
//
// The test rests on the shape of a phase envelope. Its bubble and dew branches rise from low
// pressures (and low temperatures) and meet at the critical point, so a line of given
// temperature or pressure crosses the envelope an even number of times. Along each branch the
// given variable rises to at most one maximum (the cricondentherm or the cricondenbar, on one of
// the branches) before it reaches the critical point. A branch without a maximum that crosses
// the given value shows the critical point beyond it; then each branch crosses once, and a
// point of one branch together with a crossing of the other is all there is. When the test
// does not show this (in the retrograde band, for one, both crossings lie on one branch), the
// caller traces the line.

namespace quorvane::envelope {

// Solves the system's line (β = 0 or 1) at the query's given value from Wilson's K-values and
// checks the point as ConfirmPoint does, or quickly (ConfirmOnLine); the check in check, X in
// xVars. True when the point is genuine and its liquid is the denser phase.
bool SolveAtLevel(BoundarySystem& system, const PointQuery& query, Vec& xVars, BoundaryPoint& point,
                  PointCheck& check, int quickTrials = 0);

// Whether the point solved last on the system's line (the unknowns X), at the query's given
// value, is the only one of its kind there: from it the line moves towards its critical point
// as the given variable rises (a first crossing, not a second one past a maximum), and the
// complementary branch (dew for a bubble point, bubble for a dew point) crosses the given
// value too. False when this is not shown.
bool OnlyCrossing(BoundarySystem& system, const PointQuery& query, const Vec& xVars);

// The same for a confirmed point of the mixture (bubble or dew point, as ConfirmPoint leaves
// it).
bool OnlyPointOfItsKind(const EnvelopeMixture& mixture, std::span<const float> z,
                        const PointQuery& query, const BoundaryPoint& point);

} // namespace quorvane::envelope
