#include "engine/flash/tp_continuation.h"

#include "engine/eos/engine_errors.h"
#include "engine/flash/rachford_rice.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quorvane::detail {

namespace {

using Row = FlashWorkspace::Row;

constexpr int kSubstitutionLimit = 60;
constexpr double kNewtonSwitch = 1e-3; // switch to Newton below this largest |g_i|
constexpr int kNewtonLimit = 40;
constexpr double kJacobianStep = 1e-5;
constexpr double kLargestStep = 2.0; // on ln K, per Newton step

struct Point {
    double v = 0.0;
    double norm2 = 0.0; // Σ g_i²
    double largest = 0.0;
    float zL = 0.0F;
    float zV = 0.0F;
};

class Residual {
public:
    Residual(FlashState& state, std::span<const float> z, float tempF, float pressPsia)
        : m_state(state), m_z(z), m_n(static_cast<int>(z.size())), m_t(tempF), m_p(pressPsia) {}

    int Size() const { return m_n; }

    // g_i = ln K_i + ln φ_V,i(y) − ln φ_L,i(x) with V from the Rachford-Rice equation.
    // Throws an EngineError when the point cannot be evaluated.
    Point Evaluate(std::span<const double> lnK, std::span<double> g, std::span<double> x,
                   std::span<double> y) {
        auto& ws = m_state.work;
        std::array<double, kMaxComponents> k{};
        double kMin = 1e300;
        double kMax = -1e300;
        for (int i = 0; i < m_n; ++i) {
            k[i] = std::exp(lnK[i]);
            if (m_z[i] > 0.0F) {
                kMin = std::min(kMin, k[i]);
                kMax = std::max(kMax, k[i]);
            }
        }
        if (!(kMin < 1.0 && kMax > 1.0)) {
            throw InvalidArgumentError("all K-values on one side of 1");
        }
        Point pt;
        pt.v = RachfordRiceSolveTight(std::span<const double>(k.data(), m_n), m_z);
        for (int i = 0; i < m_n; ++i) {
            x[i] = m_z[i] / (1.0 + pt.v * (k[i] - 1.0));
            y[i] = k[i] * x[i];
        }
        NormalizeFractions(x.first(m_n));
        NormalizeFractions(y.first(m_n));
        pt.zL = ws.eos.EvaluateLog(Phase::Liquid, m_t, m_p, x.first(m_n),
                                   std::span<double>(ws.lnPhiL.data(), m_n), m_state.cubic);
        pt.zV = ws.eos.EvaluateLog(Phase::Vapour, m_t, m_p, y.first(m_n),
                                   std::span<double>(ws.lnPhiV.data(), m_n), m_state.cubic);
        for (int i = 0; i < m_n; ++i) {
            g[i] = m_z[i] > 0.0F ? lnK[i] + ws.lnPhiV[i] - ws.lnPhiL[i] : 0.0;
            pt.norm2 += g[i] * g[i];
            pt.largest = std::max(pt.largest, std::fabs(g[i]));
        }
        if (!std::isfinite(pt.norm2)) {
            throw OverflowError("non-finite residual");
        }
        return pt;
    }

private:
    FlashState& m_state;
    std::span<const float> m_z;
    int m_n;
    float m_t;
    float m_p;
};

// Solves J·d = rhs in place by Gaussian elimination with partial pivoting; false if singular.
bool SolveLinear(std::array<Row, kMaxComponents>& j, std::span<double> rhs, int n) {
    for (int c = 0; c < n; ++c) {
        int pivot = c;
        for (int r = c + 1; r < n; ++r) {
            if (std::fabs(j[r][c]) > std::fabs(j[pivot][c])) {
                pivot = r;
            }
        }
        if (j[pivot][c] == 0.0 || !std::isfinite(j[pivot][c])) {
            return false;
        }
        std::swap(j[pivot], j[c]);
        std::swap(rhs[pivot], rhs[c]);
        for (int r = c + 1; r < n; ++r) {
            const double f = j[r][c] / j[c][c];
            for (int k = c; k < n; ++k) {
                j[r][k] -= f * j[c][k];
            }
            rhs[r] -= f * rhs[c];
        }
    }
    for (int c = n - 1; c >= 0; --c) {
        double s = rhs[c];
        for (int k = c + 1; k < n; ++k) {
            s -= j[c][k] * rhs[k];
        }
        rhs[c] = s / j[c][c];
    }
    return true;
}

double LargestAbs(std::span<const double> v, std::span<const float> z) {
    double m = 0.0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (z[i] > 0.0F) {
            m = std::max(m, std::fabs(v[i]));
        }
    }
    return m;
}

} // namespace

ContinuationResult ContinueIsothermal(FlashState& state, std::span<const float> z, float tempF,
                                      float pressPsia, std::span<double> lnK, double& v,
                                      std::span<double> x, std::span<double> y, float& liquidZ,
                                      float& vapourZ) {
    auto& ws = state.work;
    const int n = static_cast<int>(z.size());
    Residual residual(state, z, tempF, pressPsia);
    std::span<double> g(ws.g.data(), n);
    std::span<double> gTrial(ws.gTrial.data(), n);
    std::span<double> trial(ws.k2.data(), n);
    std::span<double> previousStep(ws.lambda.data(), n);
    ContinuationResult result;
    auto accept = [&](const Point& pt) {
        v = pt.v;
        liquidZ = pt.zL;
        vapourZ = pt.zV;
        result.residual = std::sqrt(pt.norm2);
    };
    try {
        Point pt = residual.Evaluate(lnK, g, x, y);
        accept(pt);
        // Successive substitution, with a dominant-eigenvalue extrapolation every fifth step.
        for (int step = 1; step <= kSubstitutionLimit && pt.largest >= kNewtonSwitch; ++step) {
            double num = 0.0;
            double den = 0.0;
            for (int i = 0; i < n; ++i) {
                num += g[i] * g[i];
                den += g[i] * previousStep[i];
                previousStep[i] = -g[i];
                trial[i] = lnK[i] - g[i];
            }
            if (step % 5 == 0 && den != 0.0) {
                const double lambda = -num / den; // ratio of successive steps
                if (lambda > 0.0 && lambda < 0.98) {
                    for (int i = 0; i < n; ++i) {
                        trial[i] += previousStep[i] * lambda / (1.0 - lambda);
                    }
                }
            }
            try {
                const Point tp = residual.Evaluate(trial, gTrial, x, y);
                std::copy(trial.begin(), trial.end(), lnK.begin());
                std::copy(gTrial.begin(), gTrial.end(), g.begin());
                pt = tp;
                accept(pt);
            } catch (const EngineError&) {
                break; // Newton takes over from the last good point
            }
        }
        // Newton on ln K with a forward-difference Jacobian and a backtracking line search.
        for (int iter = 0; iter < kNewtonLimit && pt.largest >= kContinuationTolerance; ++iter) {
            // Central differences: the Jacobian is nearly singular close to a critical point,
            // where a one-sided difference would spoil the Newton direction.
            for (int c = 0; c < n; ++c) {
                std::copy(lnK.begin(), lnK.begin() + n, trial.begin());
                const double h = kJacobianStep * std::max(1.0, std::fabs(lnK[c]));
                trial[c] = lnK[c] + h;
                residual.Evaluate(trial, gTrial, x, y);
                for (int r = 0; r < n; ++r) {
                    ws.jacobian[r][c] = gTrial[r];
                }
                trial[c] = lnK[c] - h;
                residual.Evaluate(trial, gTrial, x, y);
                for (int r = 0; r < n; ++r) {
                    ws.jacobian[r][c] = (ws.jacobian[r][c] - gTrial[r]) / (2.0 * h);
                }
            }
            std::span<double> step(ws.lnK.data(), n);
            for (int i = 0; i < n; ++i) {
                step[i] = -g[i];
                if (z[i] <= 0.0F) {
                    // An absent component takes no part: its row is the identity.
                    for (int c = 0; c < n; ++c) {
                        ws.jacobian[i][c] = c == i ? 1.0 : 0.0;
                    }
                    step[i] = 0.0;
                }
            }
            if (!SolveLinear(ws.jacobian, step, n)) {
                result.reason = "singular Newton matrix";
                break;
            }
            const double largestStep = LargestAbs(step, z);
            const double scale = largestStep > kLargestStep ? kLargestStep / largestStep : 1.0;
            bool improved = false;
            double alpha = scale;
            for (int search = 0; search < 12 && !improved; ++search, alpha /= 2.0) {
                for (int i = 0; i < n; ++i) {
                    trial[i] = lnK[i] + alpha * step[i];
                }
                try {
                    const Point tp = residual.Evaluate(trial, gTrial, x, y);
                    if (tp.norm2 < pt.norm2) {
                        std::copy(trial.begin(), trial.end(), lnK.begin());
                        std::copy(gTrial.begin(), gTrial.end(), g.begin());
                        pt = tp;
                        improved = true;
                    }
                } catch (const EngineError&) {
                    // a step into a region without a root: shorten it
                }
            }
            if (!improved) {
                result.reason = "Newton steps no longer reduce the residual";
                break;
            }
            accept(pt);
        }
        // Leave x, y, Z at the accepted point.
        pt = residual.Evaluate(lnK, g, x, y);
        accept(pt);
        result.converged = pt.largest < kContinuationTolerance;
        if (!result.converged && result.reason[0] == '\0') {
            result.reason = "iteration limit";
        }
    } catch (const EngineError&) {
        result.converged = false;
        result.reason = "the equation of state could not be evaluated";
    }
    return result;
}

} // namespace quorvane::detail
