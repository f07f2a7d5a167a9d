#pragma once

#include "engine/envelope/boundary_trace.h"
#include "engine/envelope/cubic_mixture.h"

#include <span>

// The critical point of a mixture of given composition by Heidemann and Khalil's criterion
// (1980) in the form of Michelsen and Heidemann (1981): at the critical temperature and volume
// the matrix B_ij = δ_ij + sqrt(z_i·z_j)·∂²F/∂n_i∂n_j (the scaled Hessian of the Helmholtz
// energy at constant T and V) is singular, and the cubic form of the third derivatives along
// its null vector Δn_i = u_i·sqrt(z_i) vanishes. The cubic form is taken as the second
// derivative of Σ Δn_i·ln f_i(n + s·Δn) in s, by differences.

namespace quorvane::envelope {

struct CriticalPointResult {
    bool found = false;
    double tR = 0.0;
    double pPsia = 0.0;
    double volume = 0.0; // molar volume, ft³/lb-mol
    int iterations = 0;
    double eigenvalue = 0.0; // smallest eigenvalue of B at the end
    double cubicForm = 0.0;
};

// Newton's method on (ln T, ln v) from an estimate (T in °R and P in psia, for example
// interpolated where the K-values of a traced envelope change sides).
CriticalPointResult FindCriticalPoint(CubicMixture& model, std::span<const double> z, double tR0,
                                      double pPsia0);

// The critical point a traced line crossed: interpolated where its K-values change sides,
// then refined by the criterion; the interpolation stands when the criterion does not settle
// near it (within 2 % in T and 5 % in P). found is false when the line did not cross it.
CriticalPointResult CriticalPointOfLine(BoundarySystem& system, const TraceLine& line);

} // namespace quorvane::envelope
