#include "engine/envelope/cubic_mixture.h"

#include "common/precision.h"
#include "engine/eos/cubic_roots.h"
#include "engine/eos/engine_errors.h"

#include <algorithm>
#include <cmath>

namespace quorvane::envelope {

namespace {

constexpr double kR = kGasConstant;
// The constant of Wilson's K-value estimate, as the flash routines take it.
constexpr double kWilsonConstant = 5.3727;

// The volume terms of the reduced residual Helmholtz energy F = −N·g − (D/T)·f for one mole
// (N = 1) or for the totals of a given amount, with their derivatives in V and B:
// g = ln(1 − B/V), f = ln((V + δ1·B)/(V + δ2·B))/(R·B·(δ1 − δ2)).
struct VolumeTerms {
    double g, gV, gB, gVV, gBV, gBB;
    double f, fV, fB, fVV, fBV, fBB;

    VolumeTerms(double v, double b, double d1, double d2) {
        const double vmb = v - b;
        const double q1 = v + d1 * b;
        const double q2 = v + d2 * b;
        const double q = q1 * q2;
        g = std::log(vmb / v);
        gV = b / (v * vmb);
        gB = -1.0 / vmb;
        gVV = -1.0 / (vmb * vmb) + 1.0 / (v * v);
        gBV = 1.0 / (vmb * vmb);
        gBB = -1.0 / (vmb * vmb);
        f = std::log(q1 / q2) / (kR * b * (d1 - d2));
        fV = -1.0 / (kR * q);
        fB = -(f + v * fV) / b;
        fVV = (q1 + q2) / (kR * q * q);
        fBV = -(2.0 * fV + v * fVV) / b;
        fBB = -(2.0 * fB + v * fBV) / b;
    }
};

// Residual Gibbs energy over RT of one mole on the root z (Σ x_i·ln φ_i).
double ReducedGibbs(double z, double bigA, double bigB, double d1, double d2) {
    return z - 1.0 - std::log(z - bigB) -
           bigA / (bigB * (d1 - d2)) * std::log((z + d1 * bigB) / (z + d2 * bigB));
}

} // namespace

void CubicMixture::Bind(EosChoice eos, std::span<const float> tcF, std::span<const float> pcPsia,
                        std::span<const float> w, KijView kij) {
    const std::size_t n = tcF.size();
    if (n > static_cast<std::size_t>(kMaxComponents) || pcPsia.size() != n || w.size() != n) {
        throw MixtureSizeError("component data arrays of different lengths or too many");
    }
    m_eos = eos;
    m_n = static_cast<int>(n);
    if (eos.equation == EosEquation::PR) {
        m_d1 = 1.0 + std::sqrt(2.0);
        m_d2 = 1.0 - std::sqrt(2.0);
    } else {
        m_d1 = 1.0;
        m_d2 = 0.0;
    }
    const bool useKij = eos.equation != EosEquation::RK && kij.data != nullptr;
    for (int i = 0; i < m_n; ++i) {
        const float tcR = RankineOf(tcF[i]);
        m_tcR[i] = tcR;
        m_pc[i] = pcPsia[i];
        m_w[i] = w[i];
        m_b[i] = ComponentBParameter(eos.equation, tcR, pcPsia[i]);
        m_ac[i] = ComponentAParameter(eos.equation, tcR, pcPsia[i], tcR, w[i], eos.variant);
        for (int j = 0; j < m_n; ++j) {
            m_oneMinusKij[i][j] = useKij ? 1.0 - static_cast<double>(kij(i, j)) : 1.0;
        }
    }
    m_haveT = false;
}

void CubicMixture::SetTemperature(double tR) {
    if (m_haveT && tR == m_tR) {
        return;
    }
    const EosEquation eq = m_eos.equation;
    Vec sqrtA{};
    Vec relSlope{}; // (da_i/dT)/a_i
    for (int i = 0; i < m_n; ++i) {
        const auto tcR = static_cast<float>(m_tcR[i]);
        const auto w = static_cast<float>(m_w[i]);
        // α(T) in 64 bits on a_i at the critical temperature.
        double ai = m_ac[i];
        if (eq == EosEquation::RK) {
            // RK's temperature dependence, A = a·P/(R²·T^2.5), as a(T) = a_i/sqrt(T).
            ai /= std::sqrt(tR);
            relSlope[i] = -0.5 / tR;
        } else {
            double dAlpha = 0.0;
            const double alpha = AlphaWithDerivative(eq, m_eos.variant, w, tR, tcR, dAlpha);
            ai *= alpha;
            relSlope[i] = dAlpha / alpha;
        }
        sqrtA[i] = std::sqrt(ai);
    }
    for (int i = 0; i < m_n; ++i) {
        for (int j = 0; j < m_n; ++j) {
            m_aij[i][j] = sqrtA[i] * sqrtA[j] * m_oneMinusKij[i][j];
            m_aijT[i][j] = 0.5 * m_aij[i][j] * (relSlope[i] + relSlope[j]);
        }
    }
    m_tR = tR;
    m_haveT = true;
    for (KeptMix& k : m_kept) {
        k.valid = false;
    }
}

const CubicMixture::Mixing& CubicMixture::MixFor(std::span<const double> n, bool withT) {
    for (int slot = 0; slot < 2; ++slot) {
        KeptMix& k = m_kept[static_cast<std::size_t>(slot)];
        if (k.valid && std::equal(n.begin(), n.begin() + m_n, k.n.begin())) {
            m_lastKept = slot;
            if (withT && !k.mix.withT) {
                MixTemperatureTerms(k.mix);
            }
            return k.mix;
        }
    }
    const int slot = 1 - m_lastKept;
    m_lastKept = slot;
    KeptMix& k = m_kept[static_cast<std::size_t>(slot)];
    k.valid = false;
    Mix(n, k.mix, withT);
    std::copy(n.begin(), n.begin() + m_n, k.n.begin());
    k.valid = true;
    return k.mix;
}

void CubicMixture::Mix(std::span<const double> n, Mixing& m, bool withT) const {
    double total = 0.0;
    for (int i = 0; i < m_n; ++i) {
        total += n[i];
    }
    if (!(total > 0.0) || !std::isfinite(total)) {
        throw InvalidArgumentError("empty composition");
    }
    m.nTotal = total;
    m.a = m.b = 0.0;
    for (int i = 0; i < m_n; ++i) {
        m.x[i] = n[i] / total;
    }
    for (int i = 0; i < m_n; ++i) {
        double s = 0.0;
        for (int j = 0; j < m_n; ++j) {
            s += m.x[j] * m_aij[i][j];
        }
        m.s[i] = s;
        m.a += m.x[i] * s;
        m.b += m.x[i] * m_b[i];
    }
    m.withT = false;
    if (withT) {
        MixTemperatureTerms(m);
    }
}

void CubicMixture::MixTemperatureTerms(Mixing& m) const {
    m.aT = 0.0;
    for (int i = 0; i < m_n; ++i) {
        double sT = 0.0;
        for (int j = 0; j < m_n; ++j) {
            sT += m.x[j] * m_aijT[i][j];
        }
        m.sT[i] = sT;
        m.aT += m.x[i] * sT;
    }
    m.withT = true;
}

double CubicMixture::SolveZ(double bigA, double bigB, Root root, bool& liquid) const {
    CubicState cubic;
    const RootPair pair = RootsOfReduced(m_eos.equation, bigA, bigB, cubic);
    const bool haveVapour = pair.vapour > bigB;
    const bool haveLiquid =
        pair.liquid != kNoLiquidRoot && pair.liquid > bigB && pair.liquid < pair.vapour;
    if (!haveVapour) {
        throw InvalidArgumentError("no root of the cubic above the co-volume");
    }
    liquid = false;
    if (!haveLiquid) {
        return pair.vapour;
    }
    switch (root) {
    case Root::Vapour:
        return pair.vapour;
    case Root::Liquid:
        liquid = true;
        return pair.liquid;
    case Root::LowerGibbs:
        liquid = ReducedGibbs(pair.liquid, bigA, bigB, m_d1, m_d2) <
                 ReducedGibbs(pair.vapour, bigA, bigB, m_d1, m_d2);
        return liquid ? pair.liquid : pair.vapour;
    }
    return pair.vapour;
}

void CubicMixture::Evaluate(double tR, double pPsia, std::span<const double> n, Root root,
                            unsigned needs, PhaseResult& out) {
    SetTemperature(tR);
    const Mixing& m = MixFor(n, (needs & kTemperature) != 0U);
    const double rt = kR * tR;
    const double bigA = m.a * pPsia / (rt * rt);
    const double bigB = m.b * pPsia / rt;
    bool liquid = false;
    const double z = SolveZ(bigA, bigB, root, liquid);
    out.z = z;
    out.liquidRoot = liquid;
    const double v = z * rt / pPsia;
    const VolumeTerms t(v, m.b, m_d1, m_d2);
    const double aOverT = m.a / tR;
    const double fB = -t.gB - aOverT * t.fB; // ∂F/∂B
    const double fD = -t.f / tR;             // ∂F/∂D
    const double lnZ = std::log(z);
    out.gibbs = 0.0;
    for (int i = 0; i < m_n; ++i) {
        out.lnPhi[i] = -t.g + fB * m_b[i] + fD * 2.0 * m.s[i] - lnZ;
        out.gibbs += m.x[i] * out.lnPhi[i];
    }
    if (!std::isfinite(out.gibbs)) {
        throw InvalidArgumentError("fugacity coefficients out of range");
    }
    if (needs == kLnPhiOnly) {
        return;
    }
    // Pressure derivatives of the amounts: ∂P/∂V and ∂P/∂n_i at constant T and V.
    const double fVV = -t.gVV - aOverT * t.fVV;
    const double dPdV = -rt * fVV - rt / (v * v);
    const double fBV = -t.gBV - aOverT * t.fBV;
    const double fDV = -t.fV / tR;
    Vec dPdn{};
    for (int i = 0; i < m_n; ++i) {
        const double fiV = -t.gV + fBV * m_b[i] + fDV * 2.0 * m.s[i];
        dPdn[i] = rt * (1.0 / v - fiV);
    }
    if ((needs & kPressure) != 0U) {
        for (int i = 0; i < m_n; ++i) {
            const double vBar = -dPdn[i] / dPdV;
            out.dLnPhiDP[i] = vBar / rt - 1.0 / pPsia;
        }
    }
    if ((needs & kTemperature) != 0U) {
        const double c = (m.aT - m.a / tR) / tR; // d(a/T)/dT
        const double dPdT = pPsia / tR + rt * c * t.fV;
        const double fBT = -c * t.fB;
        const double fDT = t.f / (tR * tR);
        for (int i = 0; i < m_n; ++i) {
            const double fiT = fBT * m_b[i] + fDT * 2.0 * m.s[i] + fD * 2.0 * m.sT[i];
            const double vBar = -dPdn[i] / dPdV;
            out.dLnPhiDT[i] = fiT + 1.0 / tR - vBar * dPdT / rt;
        }
    }
    if ((needs & kComposition) != 0U) {
        const double fnB = -t.gB;
        const double fBB = -t.gBB - aOverT * t.fBB;
        const double fBD = -t.fB / tR;
        const double pressureTerm = 1.0 / (rt * dPdV);
        for (int i = 0; i < m_n; ++i) {
            for (int j = 0; j <= i; ++j) {
                const double fij = fnB * (m_b[i] + m_b[j]) + fBB * m_b[i] * m_b[j] +
                                   fBD * (m_b[i] * 2.0 * m.s[j] + m_b[j] * 2.0 * m.s[i]) +
                                   fD * 2.0 * m_aij[i][j];
                const double value = fij + 1.0 + dPdn[i] * dPdn[j] * pressureTerm;
                out.nDLnPhiDn[i][j] = value;
                out.nDLnPhiDn[j][i] = value;
            }
        }
    }
}

double CubicMixture::PhaseIdentification(double tR, double pPsia, std::span<const double> n,
                                         double z) {
    SetTemperature(tR);
    Mixing m;
    Mix(n, m, true);
    const double rt = kR * tR;
    const double v = z * rt / pPsia;
    const double vmb = v - m.b;
    const double q1 = v + m_d1 * m.b;
    const double q2 = v + m_d2 * m.b;
    const double q = q1 * q2;
    const double qv = q1 + q2;
    const double pV = -rt / (vmb * vmb) + m.a * qv / (q * q);
    const double pVV = 2.0 * rt / (vmb * vmb * vmb) + 2.0 * m.a * (q - qv * qv) / (q * q * q);
    const double pT = kR / vmb - m.aT / q;
    const double pTV = -kR / (vmb * vmb) + m.aT * qv / (q * q);
    return v * (pTV / pT - pVV / pV);
}

double CubicMixture::LnFugacityTV(double tR, double volume, std::span<const double> n,
                                  std::span<double> lnF) {
    SetTemperature(tR);
    double total = 0.0;
    double bt = 0.0;
    double d = 0.0;
    Vec di{};
    for (int i = 0; i < m_n; ++i) {
        total += n[i];
        bt += n[i] * m_b[i];
        double s = 0.0;
        for (int j = 0; j < m_n; ++j) {
            s += n[j] * m_aij[i][j];
        }
        di[i] = 2.0 * s;
        d += n[i] * s;
    }
    if (!(bt > 0.0) || !(volume > bt)) {
        throw InvalidArgumentError("volume not above the co-volume");
    }
    const VolumeTerms t(volume, bt, m_d1, m_d2);
    const double fB = -total * t.gB - d / tR * t.fB;
    const double fD = -t.f / tR;
    const double rt = kR * tR;
    for (int i = 0; i < m_n; ++i) {
        const double fi = -t.g + fB * m_b[i] + fD * di[i];
        lnF[i] = n[i] > 0.0 ? std::log(n[i] * rt / volume) + fi : 0.0;
    }
    const double fV = -total * t.gV - d / tR * t.fV;
    return rt * (total / volume - fV);
}

void CubicMixture::StabilityMatrixTV(double tR, double volume, std::span<const double> z, Mat& b) {
    SetTemperature(tR);
    Mixing m;
    Mix(z, m, false);
    if (!(volume > m.b)) {
        throw InvalidArgumentError("volume not above the co-volume");
    }
    const VolumeTerms t(volume, m.b, m_d1, m_d2);
    const double aOverT = m.a / tR;
    const double fD = -t.f / tR;
    const double fnB = -t.gB;
    const double fBB = -t.gBB - aOverT * t.fBB;
    const double fBD = -t.fB / tR;
    for (int i = 0; i < m_n; ++i) {
        for (int j = 0; j <= i; ++j) {
            const double fij = fnB * (m_b[i] + m_b[j]) + fBB * m_b[i] * m_b[j] +
                               fBD * (m_b[i] * 2.0 * m.s[j] + m_b[j] * 2.0 * m.s[i]) +
                               fD * 2.0 * m_aij[i][j];
            const double value = (i == j ? 1.0 : 0.0) + std::sqrt(m.x[i] * m.x[j]) * fij;
            b[i][j] = value;
            b[j][i] = value;
        }
    }
}

double CubicMixture::MolarVolume(double tR, double pPsia, std::span<const double> n, Root root) {
    PhaseResult r;
    Evaluate(tR, pPsia, n, root, kLnPhiOnly, r);
    return r.z * kR * tR / pPsia;
}

double CubicMixture::CoVolume(std::span<const double> n) const {
    double total = 0.0;
    double b = 0.0;
    for (int i = 0; i < m_n; ++i) {
        total += n[i];
        b += n[i] * m_b[i];
    }
    return b / total;
}

double CubicMixture::WilsonK(int i, double tR, double pPsia) const {
    return m_pc[i] / pPsia * std::exp(kWilsonConstant * (1.0 + m_w[i]) * (1.0 - m_tcR[i] / tR));
}

double CubicMixture::WilsonLnKSlope(int i, double tR) const {
    return kWilsonConstant * (1.0 + m_w[i]) * m_tcR[i] / tR;
}

} // namespace quorvane::envelope
