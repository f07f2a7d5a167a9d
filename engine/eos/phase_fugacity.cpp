#include "engine/eos/phase_fugacity.h"

#include "common/precision.h"
#include "engine/eos/checked_math.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/fugacity_terms.h"

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
    // The same mixture bound again (the routines of one flash, the flashes of a batch) keeps
    // the parameters worked out at its last temperature and compositions.
    bool changed = !(eos == m_eos) || static_cast<int>(n) != m_n;
    m_eos = eos;
    m_n = static_cast<int>(n);
    const bool useKij = eos.equation != EosEquation::RK && kij.data != nullptr;
    for (int i = 0; i < m_n; ++i) {
        const float tcR = RankineOf(tcF[i]);
        changed |= tcR != m_tcR[i] || pcPsia[i] != m_pc[i] || w[i] != m_w[i];
        m_tcR[i] = tcR;
        m_pc[i] = pcPsia[i];
        m_w[i] = w[i];
        Row& row = m_oneMinusKij[i];
        if (useKij) {
            for (int j = 0; j < m_n; ++j) {
                const double oneMinusKij = 1.0 - static_cast<double>(kij(i, j));
                changed |= oneMinusKij != row[j];
                row[j] = oneMinusKij;
            }
        } else {
            for (int j = 0; j < m_n; ++j) {
                changed |= row[j] != 1.0;
                row[j] = 1.0;
            }
        }
    }
    if (changed) {
        m_haveTemperature = false;
    }
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
            m_aij[i][j] = m_sqrtA[i] * m_sqrtA[j] * m_oneMinusKij[i][j];
        }
    }
    m_tPow15 = std::pow(static_cast<double>(tR), 1.5);
    m_tR = tR;
    m_haveTemperature = true;
    for (auto& t : m_terms) {
        t.valid = false;
    }
}

template <typename Real>
const PhaseFugacity::CompositionTerms& PhaseFugacity::TermsFor(std::span<const Real> x) {
    for (int slot = 0; slot < 2; ++slot) {
        const CompositionTerms& t = m_terms[static_cast<std::size_t>(slot)];
        if (t.valid && t.tR == m_tR) {
            bool same = true;
            for (int i = 0; i < m_n && same; ++i) {
                same = t.x[i] == static_cast<double>(x[i]);
            }
            if (same) {
                m_lastUsedSlot = slot;
                return t;
            }
        }
    }
    // Replace the slot used less recently: a composition that stays (the feed of a saturation
    // point) keeps its terms while the other phase's composition changes every pass.
    const int slot = 1 - m_lastUsedSlot;
    m_lastUsedSlot = slot;
    CompositionTerms& t = m_terms[static_cast<std::size_t>(slot)];
    t.tR = m_tR;
    for (int i = 0; i < m_n; ++i) {
        t.x[i] = x[i];
    }
    // s_i = sum over j of x_j·a_ij, two rows at a time: each sum takes its terms in the order
    // j = 0, 1, ... (the same result to the bit as one row at a time), and the two run side by
    // side on the same x_j.
    int i = 0;
    for (; i + 1 < m_n; i += 2) {
        const Row& row0 = m_aij[i];
        const Row& row1 = m_aij[i + 1];
        double s0 = 0.0;
        double s1 = 0.0;
        for (int j = 0; j < m_n; ++j) {
            const double xj = t.x[j];
            s0 += xj * row0[j];
            s1 += xj * row1[j];
        }
        t.s[i] = s0;
        t.s[i + 1] = s1;
    }
    if (i < m_n) {
        const Row& row = m_aij[i];
        double si = 0.0;
        for (int j = 0; j < m_n; ++j) {
            si += t.x[j] * row[j];
        }
        t.s[i] = si;
    }
    double b = 0.0;
    double a = 0.0;
    for (i = 0; i < m_n; ++i) {
        b += t.x[i] * m_b[i];
        a += t.x[i] * t.s[i];
    }
    t.a = a;
    t.b = b;
    t.valid = true;
    return t;
}

template <typename Real>
float PhaseFugacity::EvaluateImpl(Phase phase, float tempF, float pressPsia,
                                  std::span<const Real> x, std::span<double> out, bool takeExp,
                                  CubicState& state) {
    const EosEquation eq = m_eos.equation;
    const float tR = RankineOf(tempF);
    SetTemperature(tR);
    const CompositionTerms& terms = TermsFor(x);
    const double a = terms.a;
    const double b = terms.b;

    const RootPair roots =
        RootsOfReduced(eq, ReducedA(eq, a, pressPsia, tR), ReducedB(b, pressPsia, tR), state);
    const double z = detail::ChooseZ(roots, phase);
    const detail::PhaseTerms phaseTerms = detail::MakePhaseTerms(eq, z, a, b, tR, pressPsia);

    Row result;
    if (eq == EosEquation::RK) {
        const double sqrtA = std::sqrt(a);
        for (int i = 0; i < m_n; ++i) {
            result[i] = detail::LnPhi(phaseTerms, m_b[i], 2.0 * m_sqrtA[i] * sqrtA);
        }
    } else {
        const double twoOverA = 2.0 / a;
        for (int i = 0; i < m_n; ++i) {
            result[i] = detail::LnPhi(phaseTerms, m_b[i], terms.s[i] * twoOverA);
        }
    }
    for (int i = 0; i < m_n; ++i) {
        result[i] = takeExp ? checked::Exp(result[i], "fugacity coefficient out of range")
                            : checked::Finite(result[i], "fugacity coefficient out of range");
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
                                 std::span<const float> x, std::span<double> lnPhi,
                                 CubicState& state) {
    return EvaluateImpl<float>(phase, tempF, pressPsia, x, lnPhi, false, state);
}

float PhaseFugacity::EvaluateLog(Phase phase, float tempF, float pressPsia,
                                 std::span<const double> x, std::span<double> lnPhi,
                                 CubicState& state) {
    return EvaluateImpl<double>(phase, tempF, pressPsia, x, lnPhi, false, state);
}

} // namespace quorvane
