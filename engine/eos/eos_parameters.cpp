#include "engine/eos/eos_parameters.h"

#include "common/precision.h"

#include <cmath>

namespace quorvane {

namespace {

// 0.08664·R and 0.077796·R, as the co-volume constants are computed.
constexpr double kRkBFactor = 0.9297893762399999;
constexpr double kPrBFactor = 0.834878743236;

} // namespace

float RankineOf(float tempF) {
    return ToSingle(static_cast<double>(tempF) + kRankineOffset);
}

double ComponentBParameter(EosEquation equation, float tcR, float pcPsia) {
    switch (equation) {
    case EosEquation::RK:
    case EosEquation::SRK:
        return kRkBFactor * tcR / pcPsia;
    case EosEquation::PR:
        return kPrBFactor * tcR / pcPsia;
    case EosEquation::Unknown:
        break;
    }
    return 0.0;
}

namespace {

// m as a function of the reduced temperature Tr = T/Tc, and dm/dTr (nonzero only for the
// SRK "78" form of a component whose acentric factor is exactly 0).
double SlopeAt(EosEquation equation, EosVariant variant, float w, double tr, double& dSlopeDTr) {
    const double wd = w;
    dSlopeDTr = 0.0;
    if (equation == EosEquation::SRK) {
        if (variant == EosVariant::Original) {
            return 0.48 + 1.574 * wd - 0.176 * wd * wd;
        }
        if (w == 0.0F) {
            const double m = 1.202 * std::exp(-0.30288 * tr);
            dSlopeDTr = -0.30288 * m;
            return m;
        }
        return 0.48508 + 1.555171 * wd - 0.15613 * wd * wd;
    }
    if (equation == EosEquation::PR) {
        // The switch compares the 32-bit acentric factor with the 32-bit limit.
        if (variant == EosVariant::V78 && w > 0.49F) {
            return 0.379642 + 1.48503 * wd - 0.164423 * wd * wd + 0.016667 * wd * wd * wd;
        }
        return 0.37464 + 1.54226 * wd - 0.26992 * wd * wd;
    }
    return 0.0;
}

} // namespace

double AlphaSlope(EosEquation equation, EosVariant variant, float w, float tR, float tcR) {
    double unused = 0.0;
    return SlopeAt(equation, variant, w, static_cast<double>(tR) / tcR, unused);
}

double AlphaFunction(EosEquation equation, EosVariant variant, float w, float tR, float tcR) {
    if (equation != EosEquation::SRK && equation != EosEquation::PR) {
        return 1.0;
    }
    const double m = AlphaSlope(equation, variant, w, tR, tcR);
    const double s = 1.0 + m * (1.0 - std::sqrt(static_cast<double>(tR) / tcR));
    return s * s;
}

double AlphaWithDerivative(EosEquation equation, EosVariant variant, float w, double tR, float tcR,
                           double& dAlphaDT) {
    dAlphaDT = 0.0;
    if (equation != EosEquation::SRK && equation != EosEquation::PR) {
        return 1.0;
    }
    const double tc = tcR;
    const double tr = tR / tc;
    double dmDTr = 0.0;
    const double m = SlopeAt(equation, variant, w, tr, dmDTr);
    const double root = std::sqrt(tr);
    const double s = 1.0 + m * (1.0 - root);
    // ds/dT = (dm/dTr·(1 − sqrt(Tr)) − m/(2·sqrt(Tr)))/Tc
    dAlphaDT = 2.0 * s * (dmDTr * (1.0 - root) - m / (2.0 * root)) / tc;
    return s * s;
}

double ComponentAParameter(EosEquation equation, float tcR, float pcPsia, float tR, float w,
                           EosVariant variant) {
    const double tc = tcR;
    switch (equation) {
    case EosEquation::RK:
        return kOmegaARk * kGasConstant * kGasConstant * std::pow(tc, 2.5) / pcPsia;
    case EosEquation::SRK:
        return kOmegaARk * (kGasConstant * tc) * (kGasConstant * tc) *
               AlphaFunction(equation, variant, w, tR, tcR) / pcPsia;
    case EosEquation::PR:
        return kOmegaAPr * (kGasConstant * tc) * (kGasConstant * tc) *
               AlphaFunction(equation, variant, w, tR, tcR) / pcPsia;
    case EosEquation::Unknown:
        break;
    }
    return 0.0;
}

double MixtureBParameter(EosEquation equation, std::span<const float> tcR,
                         std::span<const float> pcPsia, std::span<const float> x) {
    double b = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        b += x[i] * ComponentBParameter(equation, tcR[i], pcPsia[i]);
    }
    return b;
}

// The double sum is taken row by row, a = Σ_i x_i·(Σ_j x_j·sqrt(a_i)·sqrt(a_j)·(1 − kij)), the
// same arithmetic as the one-phase evaluation, which keeps the two equal to the last bit: the
// liquid root sits close to B, and ln(Z − B) magnifies any difference in a.
double MixtureAParameter(EosEquation equation, std::span<const float> tcR,
                         std::span<const float> pcPsia, std::span<const float> w,
                         std::span<const float> x, float tR, EosVariant variant, KijView kij) {
    const bool withKij = equation != EosEquation::RK && kij.data != nullptr;
    double a = 0.0;
    const int n = static_cast<int>(x.size());
    for (int i = 0; i < n; ++i) {
        const double sqrtAi =
            std::sqrt(ComponentAParameter(equation, tcR[i], pcPsia[i], tR, w[i], variant));
        double row = 0.0;
        for (int j = 0; j < n; ++j) {
            const double aj = ComponentAParameter(equation, tcR[j], pcPsia[j], tR, w[j], variant);
            const double oneMinusKij = withKij ? 1.0 - static_cast<double>(kij(i, j)) : 1.0;
            row += static_cast<double>(x[j]) * (sqrtAi * std::sqrt(aj) * oneMinusKij);
        }
        a += static_cast<double>(x[i]) * row;
    }
    return a;
}

double MixtureAParameter(EosEquation equation, std::span<const float> tcR,
                         std::span<const float> pcPsia, std::span<const float> x) {
    // RK reads no acentric factor (x stands in for the array) and no interaction parameters.
    return MixtureAParameter(equation, tcR, pcPsia, x, x, 0.0F, EosVariant::Original, KijView{});
}

double ReducedA(EosEquation equation, double a, float pPsia, float tR) {
    const double t = tR;
    if (equation == EosEquation::RK) {
        return a * pPsia / (kGasConstant * kGasConstant * std::pow(t, 2.5));
    }
    return a * pPsia / ((kGasConstant * t) * (kGasConstant * t));
}

double ReducedB(double b, float pPsia, float tR) {
    return b * pPsia / (kGasConstant * tR);
}

} // namespace quorvane
