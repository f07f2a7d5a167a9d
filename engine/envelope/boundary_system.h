#pragma once

#include "engine/envelope/cubic_mixture.h"
#include "engine/envelope/dense_matrix.h"

#include <span>

// The equations of a point on a phase boundary or on a line of constant vapour fraction β,
// solved by Newton's method in the logarithms (Michelsen's formulation of phase-envelope
// calculations, 1980). The unknowns are X = (ln K_1 … ln K_n, ln T, ln P), T in °R and P in
// psia; the phases are x_i = z_i/(1 − β + β·K_i) and y_i = K_i·x_i, and the equations
//   ln K_i + ln φ_i(y) − ln φ_i(x) = 0    (equal fugacities, every component)
//   Σ (y_i − x_i) = 0                      (both compositions sum to one)
//   X_s − S = 0                            (one unknown specified)
// β = 0 gives bubble points (x is the feed), β = 1 dew points (y is the feed). A component
// absent from the feed keeps its own equation: its K is that of infinite dilution in the two
// phases. The phase x takes the liquid-like root and y the vapour-like root until the line has
// passed the critical point, where the two change roles (swapped).

namespace quorvane::envelope {

// Indices of T and P in X for n components.
inline int TemperatureIndex(int n) {
    return n;
}
inline int PressureIndex(int n) {
    return n + 1;
}

enum class SolveStatus { Converged, Diverged, Singular, NotEvaluated };

struct SolveOptions {
    int maxIterations = 25;
    // Converged when the largest Newton step in X or the largest residual falls below these.
    // Near a critical point the step stalls at the rounding of T and P magnified by the
    // conditioning of the equations, while the residuals are at rounding level already.
    double tolerance = 1e-10;
    double residualTolerance = 1e-11;
    double largestLnKStep = 1.0;
    double largestLnTStep = 0.1;
    double largestLnPStep = 0.5;
    bool lineSearch = true; // shorten steps that raise the residual
    int largestCuts = 9;    // halvings of one Newton step before the solve gives up
};

struct SolveResult {
    SolveStatus status = SolveStatus::NotEvaluated;
    int iterations = 0;
    double residual = 0.0; // largest |F_i| of the fugacity and sum equations at the end
};

class BoundarySystem {
public:
    // The model must be bound to the mixture; z is the feed (need not be normalised).
    BoundarySystem(CubicMixture& model, std::span<const double> z, double beta);

    int Components() const { return m_n; }
    int Unknowns() const { return m_n + 2; }
    double Beta() const { return m_beta; }
    std::span<const double> Feed() const { return std::span<const double>(m_z.data(), m_n); }
    CubicMixture& Model() { return m_model; }

    bool Swapped() const { return m_swapped; }
    void SetSwapped(bool swapped) { m_swapped = swapped; }

    // Residuals F (n + 1 values) at X and, when jacobian is given, their derivatives (rows
    // 0..n, columns 0..n+1). Throws an EngineError when a phase cannot be evaluated.
    void Evaluate(const Vec& xVars, Vec& f, Mat* jacobian);

    // Newton's method with X[fixed] held at value, from X (in/out).
    SolveResult Solve(Vec& xVars, int fixed, double value, const SolveOptions& options = {});

    // dX/dS at the last point Solve converged to, S the value of its specified unknown.
    bool Sensitivity(Vec& dXdS) const;

    // Phase compositions at X (not normalised: they sum to one at a solution).
    void Phases(const Vec& xVars, Vec& x, Vec& y) const;

    // Z of the phases x and y at the last evaluation.
    double LastZx() const { return m_px.z; }
    double LastZy() const { return m_py.z; }

    // Largest |ln K_i| over the components present.
    double LargestLnK(const Vec& xVars) const;
    // Same root, same composition: the solution every system has and none wants.
    bool Trivial(const Vec& xVars) const;

private:
    CubicMixture& m_model;
    int m_n;
    Vec m_z{};
    double m_beta;
    bool m_swapped = false;
    PhaseResult m_px, m_py;
    // The Jacobian at the current point and at a trial step, swapped when the step is taken
    // (written before it is read: left uninitialised, so that a system costs nothing to set
    // up).
    std::array<Mat, 2> m_jacobians;
    int m_current = 0;
    Vec m_fixedColumn{};
    LuFactors m_lu;
    bool m_haveLu = false;
    int m_fixed = 0;
};

} // namespace quorvane::envelope
