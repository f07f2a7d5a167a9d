#include "engine/envelope/boundary_system.h"

#include "engine/eos/engine_errors.h"

#include <algorithm>
#include <cmath>

namespace quorvane::envelope {

namespace {

double LargestAbs(const Vec& v, int m) {
    double largest = 0.0;
    for (int i = 0; i < m; ++i) {
        largest = std::max(largest, std::fabs(v[i]));
    }
    return largest;
}

} // namespace

BoundarySystem::BoundarySystem(CubicMixture& model, std::span<const double> z, double beta)
    : m_model(model), m_n(model.Size()), m_beta(beta) {
    for (int i = 0; i < m_n; ++i) {
        m_z[i] = z[i];
    }
}

void BoundarySystem::Phases(const Vec& xVars, Vec& x, Vec& y) const {
    for (int i = 0; i < m_n; ++i) {
        const double k = std::exp(xVars[i]);
        const double d = 1.0 - m_beta + m_beta * k;
        x[i] = m_z[i] / d;
        y[i] = k * x[i];
    }
}

void BoundarySystem::Evaluate(const Vec& xVars, Vec& f, Mat* jacobian) {
    const int n = m_n;
    const double t = std::exp(xVars[TemperatureIndex(n)]);
    const double p = std::exp(xVars[PressureIndex(n)]);
    Vec x{};
    Vec y{};
    Vec k{};
    Vec d{};
    for (int i = 0; i < n; ++i) {
        k[i] = std::exp(xVars[i]);
        d[i] = 1.0 - m_beta + m_beta * k[i];
        x[i] = m_z[i] / d[i];
        y[i] = k[i] * x[i];
    }
    // The feed phase does not move with K: its composition derivatives are not needed.
    const unsigned base = jacobian != nullptr ? (kTemperature | kPressure) : kLnPhiOnly;
    const unsigned needX = base | (jacobian != nullptr && m_beta > 0.0 ? kComposition : 0U);
    const unsigned needY = base | (jacobian != nullptr && m_beta < 1.0 ? kComposition : 0U);
    m_model.Evaluate(t, p, std::span<const double>(x.data(), n),
                     m_swapped ? Root::Vapour : Root::Liquid, needX, m_px);
    m_model.Evaluate(t, p, std::span<const double>(y.data(), n),
                     m_swapped ? Root::Liquid : Root::Vapour, needY, m_py);
    double balance = 0.0;
    for (int i = 0; i < n; ++i) {
        f[i] = xVars[i] + m_py.lnPhi[i] - m_px.lnPhi[i];
        balance += y[i] - x[i];
    }
    f[n] = balance;
    if (jacobian == nullptr) {
        return;
    }
    Mat& jac = *jacobian;
    double nx = 0.0;
    double ny = 0.0;
    for (int i = 0; i < n; ++i) {
        nx += x[i];
        ny += y[i];
    }
    Vec dx{};
    Vec dy{};
    for (int j = 0; j < n; ++j) {
        dx[j] = -m_beta * x[j] * k[j] / d[j];
        dy[j] = y[j] * (1.0 - m_beta) / d[j];
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            double v = i == j ? 1.0 : 0.0;
            if (m_beta < 1.0) {
                v += m_py.nDLnPhiDn[i][j] / ny * dy[j];
            }
            if (m_beta > 0.0) {
                v -= m_px.nDLnPhiDn[i][j] / nx * dx[j];
            }
            jac[i][j] = v;
        }
        jac[i][n] = t * (m_py.dLnPhiDT[i] - m_px.dLnPhiDT[i]);
        jac[i][n + 1] = p * (m_py.dLnPhiDP[i] - m_px.dLnPhiDP[i]);
    }
    for (int j = 0; j < n; ++j) {
        jac[n][j] = dy[j] - dx[j];
    }
    jac[n][n] = 0.0;
    jac[n][n + 1] = 0.0;
}

SolveResult BoundarySystem::Solve(Vec& xVars, int fixed, double value,
                                  const SolveOptions& options) {
    const int n = m_n;
    const int m = n + 2;
    // The specified unknown is held at its value and left out: Newton's method on the other
    // n + 1 unknowns, with the n + 1 equations of fugacity and balance.
    const int r = n + 1;
    SolveResult result;
    m_haveLu = false;
    m_fixed = fixed;
    std::array<int, kMaxUnknowns> cols{};
    for (int c = 0, k = 0; c < m; ++c) {
        if (c != fixed) {
            cols[k++] = c;
        }
    }
    xVars[fixed] = value;
    Vec f{};
    double norm = 0.0;
    auto residualNorm = [&](const Vec& res) {
        const double v = LargestAbs(res, r);
        if (!std::isfinite(v)) {
            throw OverflowError("residual out of range");
        }
        return v;
    };
    try {
        Evaluate(xVars, f, &m_jacobians[static_cast<std::size_t>(m_current)]);
        norm = residualNorm(f);
    } catch (const EngineError&) {
        result.status = SolveStatus::NotEvaluated;
        return result;
    }
    Vec trialX{};
    Vec trialF{};
    for (int iter = 1; iter <= options.maxIterations; ++iter) {
        result.iterations = iter;
        const Mat& jac = m_jacobians[static_cast<std::size_t>(m_current)];
        Mat& reducedJac = m_lu.Storage();
        for (int row = 0; row < r; ++row) {
            for (int k = 0; k < r; ++k) {
                reducedJac[row][k] = jac[row][cols[k]];
            }
            m_fixedColumn[row] = jac[row][fixed];
        }
        if (!m_lu.FactorInPlace(r)) {
            result.status = SolveStatus::Singular;
            return result;
        }
        m_haveLu = true;
        Vec reduced{};
        for (int i = 0; i < r; ++i) {
            reduced[i] = -f[i];
        }
        m_lu.Solve(std::span<double>(reduced.data(), r));
        Vec step{};
        for (int k = 0; k < r; ++k) {
            step[cols[k]] = reduced[k];
        }
        double scale = 1.0;
        double largestK = 0.0;
        for (int i = 0; i < n; ++i) {
            largestK = std::max(largestK, std::fabs(step[i]));
        }
        if (largestK > options.largestLnKStep) {
            scale = std::min(scale, options.largestLnKStep / largestK);
        }
        const double dT = std::fabs(step[TemperatureIndex(n)]);
        const double dP = std::fabs(step[PressureIndex(n)]);
        if (dT > options.largestLnTStep) {
            scale = std::min(scale, options.largestLnTStep / dT);
        }
        if (dP > options.largestLnPStep) {
            scale = std::min(scale, options.largestLnPStep / dP);
        }
        const double stepSize = LargestAbs(step, m) * scale;
        if (!std::isfinite(stepSize)) {
            result.status = SolveStatus::Singular;
            return result;
        }
        if (stepSize < options.tolerance || norm < options.residualTolerance) {
            for (int i = 0; i < m; ++i) {
                xVars[i] += scale * step[i];
            }
            result.status = SolveStatus::Converged;
            result.residual = LargestAbs(f, r);
            return result;
        }
        // Take the step, shortened while it leaves the region the equation of state can
        // evaluate or (with the line search) makes the largest residual grow markedly: Newton's
        // residual need not fall at every step.
        bool accepted = false;
        double alpha = scale;
        for (int cut = 0; cut <= options.largestCuts && !accepted; ++cut, alpha /= 2.0) {
            for (int i = 0; i < m; ++i) {
                trialX[i] = xVars[i] + alpha * step[i];
            }
            try {
                Evaluate(trialX, trialF, &m_jacobians[static_cast<std::size_t>(1 - m_current)]);
                const double trialNorm = residualNorm(trialF);
                if (!options.lineSearch || trialNorm < 2.0 * norm || trialNorm < 1e-9) {
                    accepted = true;
                    norm = trialNorm;
                }
            } catch (const EngineError&) {
            }
        }
        if (!accepted) {
            result.status = SolveStatus::Diverged;
            return result;
        }
        xVars = trialX;
        f = trialF;
        m_current = 1 - m_current;
    }
    result.status = SolveStatus::Diverged;
    result.residual = LargestAbs(f, r);
    return result;
}

bool BoundarySystem::Sensitivity(Vec& dXdS) const {
    if (!m_haveLu) {
        return false;
    }
    const int m = m_n + 2;
    const int r = m_n + 1;
    // J_r·dX_r + J_fixed·1 = 0 for the unknowns other than the specified one.
    Vec reduced{};
    for (int i = 0; i < r; ++i) {
        reduced[i] = -m_fixedColumn[i];
    }
    m_lu.Solve(std::span<double>(reduced.data(), r));
    dXdS.fill(0.0);
    for (int c = 0, k = 0; c < m; ++c) {
        dXdS[c] = c == m_fixed ? 1.0 : reduced[k++];
    }
    for (int i = 0; i < m; ++i) {
        if (!std::isfinite(dXdS[i])) {
            return false;
        }
    }
    return true;
}

double BoundarySystem::LargestLnK(const Vec& xVars) const {
    double largest = 0.0;
    for (int i = 0; i < m_n; ++i) {
        if (m_z[i] > 0.0) {
            largest = std::max(largest, std::fabs(xVars[i]));
        }
    }
    return largest;
}

bool BoundarySystem::Trivial(const Vec& xVars) const {
    const double zScale = std::max(std::fabs(m_px.z), std::fabs(m_py.z));
    return LargestLnK(xVars) < 1e-4 && std::fabs(m_px.z - m_py.z) <= 1e-8 * zScale;
}

} // namespace quorvane::envelope
