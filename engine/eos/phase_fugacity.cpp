#include "engine/eos/phase_fugacity.h"

#include "engine/eos/checked_math.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/fugacity_terms.h"
#include "engine/precision.h"

#include <cmath>

namespace quorvane {

void PhaseFugacity::Bind(EosChoice eos, std::span<const float> tcF, std::span<const float> pcPsia,
                         std::span<const float> w, KijView kij) {
    const std::size_t n = tcF.size();
    if (n > static_cast<std::size_t>(kMaxComponents)) {
        throw MixtureSizeError("more than 25 components");
    }
    if (pcPsia.size() != n || w.size() != n) {
        throw MixtureSizeError("component data arrays of different lengths");
    }
    m_eos = eos;
    m_n = static_cast<int>(n);
    for (int i = 0; i < m_n; ++i) {
        m_tcR[i] = RankineOf(tcF[i]);
        m_pc[i] = pcPsia[i];
        m_w[i] = w[i];
        for (int j = 0; j < m_n; ++j) {
            const bool useKij = eos.equation != EosEquation::RK && kij.data != nullptr;
            m_oneMinusKij[i][j] = useKij ? 1.0 - static_cast<double>(kij(i, j)) : 1.0;
        }
    }
    m_haveTemperature = false;
}

void PhaseFugacity::SetTemperature(float tR) {
    if (m_haveTemperature && tR == m_tR) {
        return;
    }
    const EosEquation eq = m_eos.equation;
    for (int i = 0; i < m_n; ++i) {
        m_a[i] = ComponentAParameter(eq, m_tcR[i], m_pc[i], tR, m_w[i], m_eos.variant);
        m_sqrtA[i] = std::sqrt(m_a[i]);
        m_b[i] = ComponentBParameter(eq, m_tcR[i], m_pc[i]);
    }
    for (int i = 0; i < m_n; ++i) {
        for (int j = 0; j < m_n; ++j) {
            m_sqrtAiAj[i][j] = std::sqrt(m_a[i] * m_a[j]);
        }
    }
    m_tR = tR;
    m_haveTemperature = true;
}

template <typename Real>
float PhaseFugacity::EvaluateImpl(Phase phase, float tempF, float pressPsia,
                                  std::span<const Real> x, std::span<double> out, bool takeExp,
                                  CubicState& state) {
    const EosEquation eq = m_eos.equation;
    const float tR = RankineOf(tempF);
    SetTemperature(tR);

    // Mixture parameters, summed in the order of the one-component evaluation.
    double b = 0.0;
    for (int i = 0; i < m_n; ++i) {
        b += x[i] * m_b[i];
    }
    double a = 0.0;
    if (eq == EosEquation::RK) {
        for (int i = 0; i < m_n; ++i) {
            const double xi = x[i];
            for (int j = 0; j < m_n; ++j) {
                a += xi * x[j] * m_sqrtAiAj[i][j];
            }
        }
    } else {
        for (int i = 0; i < m_n; ++i) {
            const double xi = x[i];
            const Row& sq = m_sqrtAiAj[i];
            const Row& k1 = m_oneMinusKij[i];
            for (int j = 0; j < m_n; ++j) {
                a += xi * x[j] * sq[j] * k1[j];
            }
        }
    }
    const RootPair roots =
        RootsOfReduced(eq, ReducedA(eq, a, pressPsia, tR), ReducedB(b, pressPsia, tR), state);
    const double z = detail::ChooseZ(roots, phase);
    const detail::PhaseTerms terms = detail::MakePhaseTerms(eq, z, a, b, tR, pressPsia);

    Row result;
    for (int i = 0; i < m_n; ++i) {
        double si = 0.0;
        if (eq != EosEquation::RK) {
            const Row& k1 = m_oneMinusKij[i];
            for (int j = 0; j < m_n; ++j) {
                si += x[j] * m_sqrtA[j] * k1[j];
            }
        }
        const double lnPhi = detail::LnPhi(terms, m_b[i], m_a[i], m_sqrtA[i], si);
        result[i] = takeExp ? checked::Exp(lnPhi, "fugacity coefficient out of range")
                            : checked::Finite(lnPhi, "fugacity coefficient out of range");
    }
    for (int i = 0; i < m_n; ++i) {
        out[i] = result[i];
    }
    return ToSingle(z);
}

float PhaseFugacity::Evaluate(Phase phase, float tempF, float pressPsia, std::span<const float> x,
                              std::span<double> phi, CubicState& state) {
    return EvaluateImpl<float>(phase, tempF, pressPsia, x, phi, true, state);
}

float PhaseFugacity::Evaluate(Phase phase, float tempF, float pressPsia, std::span<const double> x,
                              std::span<double> phi, CubicState& state) {
    return EvaluateImpl<double>(phase, tempF, pressPsia, x, phi, true, state);
}

float PhaseFugacity::EvaluateLog(Phase phase, float tempF, float pressPsia,
                                 std::span<const double> x, std::span<double> lnPhi,
                                 CubicState& state) {
    return EvaluateImpl<double>(phase, tempF, pressPsia, x, lnPhi, false, state);
}

} // namespace quorvane
