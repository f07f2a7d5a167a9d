#include "engine/envelope/critical_point.h"

#include "engine/envelope/dense_matrix.h"
#include "engine/eos/engine_errors.h"

#include <algorithm>
#include <cmath>

namespace quorvane::envelope {

namespace {

class Criterion {
public:
    Criterion(CubicMixture& model, std::span<const double> z) : m_model(model), m_n(model.Size()) {
        double total = 0.0;
        for (int i = 0; i < m_n; ++i) {
            total += z[i];
        }
        for (int i = 0; i < m_n; ++i) {
            m_z[i] = z[i] / total;
        }
    }

    // (smallest eigenvalue of B, cubic form) at ln T, ln v. Throws an EngineError outside the
    // region the equation of state covers.
    void Evaluate(double lnT, double lnV, double& lambda, double& cubic) {
        const double t = std::exp(lnT);
        const double v = std::exp(lnV);
        Mat b{};
        m_model.StabilityMatrixTV(t, v, std::span<const double>(m_z.data(), m_n), b);
        Vec values{};
        Mat vectors{};
        SymmetricEigen(b, m_n, std::span<double>(values.data(), m_n), vectors);
        lambda = values[0];
        Vec u{};
        double dot = 0.0;
        for (int i = 0; i < m_n; ++i) {
            u[i] = vectors[i][0];
            dot += u[i] * m_reference[i];
        }
        if (!m_haveReference) {
            // The null vector's sign is arbitrary and the cubic form odd in it: every
            // evaluation takes the sign of the first.
            m_reference = u;
            m_haveReference = true;
        } else if (dot < 0.0) {
            for (int i = 0; i < m_n; ++i) {
                u[i] = -u[i];
            }
        }
        Vec dn{};
        double eps = 1e-3;
        for (int i = 0; i < m_n; ++i) {
            dn[i] = u[i] * std::sqrt(m_z[i]);
            if (m_z[i] > 0.0 && std::fabs(dn[i]) > 0.0) {
                eps = std::min(eps, 0.25 * m_z[i] / std::fabs(dn[i]));
            }
        }
        auto g = [&](double s) {
            Vec n{};
            Vec lnF{};
            for (int i = 0; i < m_n; ++i) {
                n[i] = m_z[i] + s * dn[i];
            }
            m_model.LnFugacityTV(t, v, std::span<const double>(n.data(), m_n),
                                 std::span<double>(lnF.data(), m_n));
            double sum = 0.0;
            for (int i = 0; i < m_n; ++i) {
                if (m_z[i] > 0.0) {
                    sum += dn[i] * lnF[i];
                }
            }
            return sum;
        };
        // Fourth-order central difference: rounding stays near 1e-9 and the truncation far
        // below it.
        cubic = (-g(2.0 * eps) + 16.0 * g(eps) - 30.0 * g(0.0) + 16.0 * g(-eps) - g(-2.0 * eps)) /
                (12.0 * eps * eps);
    }

    double Pressure(double lnT, double lnV) {
        Vec lnF{};
        return m_model.LnFugacityTV(std::exp(lnT), std::exp(lnV),
                                    std::span<const double>(m_z.data(), m_n),
                                    std::span<double>(lnF.data(), m_n));
    }

    double CoVolume() const { return m_model.CoVolume(std::span<const double>(m_z.data(), m_n)); }

private:
    CubicMixture& m_model;
    int m_n;
    Vec m_z{};
    Vec m_reference{};
    bool m_haveReference = false;
};

} // namespace

CriticalPointResult FindCriticalPoint(CubicMixture& model, std::span<const double> z, double tR0,
                                      double pPsia0) {
    CriticalPointResult result;
    Criterion criterion(model, z);
    const double lnB = std::log(criterion.CoVolume());
    double lnT = std::log(tR0);
    double lnV = 0.0;
    try {
        lnV = std::log(model.MolarVolume(tR0, pPsia0, z, Root::LowerGibbs));
    } catch (const EngineError&) {
        lnV = lnB + std::log(3.9); // near the critical volume of the cubics, about 3.9·b
    }
    const double h = 1e-5;
    try {
        double lambda = 0.0;
        double cubic = 0.0;
        criterion.Evaluate(lnT, lnV, lambda, cubic);
        for (int iter = 1; iter <= 60; ++iter) {
            result.iterations = iter;
            double l1 = 0.0;
            double c1 = 0.0;
            double l2 = 0.0;
            double c2 = 0.0;
            criterion.Evaluate(lnT + h, lnV, l1, c1);
            criterion.Evaluate(lnT, lnV + h, l2, c2);
            const double a11 = (l1 - lambda) / h;
            const double a12 = (l2 - lambda) / h;
            const double a21 = (c1 - cubic) / h;
            const double a22 = (c2 - cubic) / h;
            const double det = a11 * a22 - a12 * a21;
            if (!(std::fabs(det) > 0.0) || !std::isfinite(det)) {
                return result;
            }
            double dT = (-lambda * a22 + cubic * a12) / det;
            double dV = (-cubic * a11 + lambda * a21) / det;
            const double scale = std::min({1.0, 0.05 / std::max(std::fabs(dT), 1e-300),
                                           0.2 / std::max(std::fabs(dV), 1e-300)});
            dT *= scale;
            dV *= scale;
            // The volume stays above the co-volume.
            while (lnV + dV < lnB + 1e-3) {
                dT *= 0.5;
                dV *= 0.5;
            }
            lnT += dT;
            lnV += dV;
            criterion.Evaluate(lnT, lnV, lambda, cubic);
            if (std::fabs(dT) < 1e-8 && std::fabs(dV) < 1e-8) {
                break;
            }
        }
        result.eigenvalue = lambda;
        result.cubicForm = cubic;
        result.tR = std::exp(lnT);
        result.volume = std::exp(lnV);
        result.pPsia = criterion.Pressure(lnT, lnV);
        result.found =
            std::fabs(lambda) < 1e-7 && std::isfinite(result.pPsia) && result.pPsia > 0.0;
    } catch (const EngineError&) {
        result.found = false;
    }
    return result;
}

CriticalPointResult CriticalPointOfLine(BoundarySystem& system, const TraceLine& line) {
    CriticalPointResult estimate;
    Vec x{};
    if (!CriticalCrossing(system, line, x)) {
        return estimate;
    }
    const int n = system.Components();
    estimate.found = true;
    estimate.tR = std::exp(x[TemperatureIndex(n)]);
    estimate.pPsia = std::exp(x[PressureIndex(n)]);
    const CriticalPointResult refined =
        FindCriticalPoint(system.Model(), system.Feed(), estimate.tR, estimate.pPsia);
    if (refined.found && std::fabs(refined.tR - estimate.tR) < 0.02 * estimate.tR &&
        std::fabs(refined.pPsia - estimate.pPsia) < 0.05 * estimate.pPsia) {
        return refined;
    }
    return estimate;
}

} // namespace quorvane::envelope
