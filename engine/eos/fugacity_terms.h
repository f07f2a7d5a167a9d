#pragma once

#include "engine/eos/checked_math.h"
#include "engine/eos/cubic_roots.h"
#include "engine/eos/eos_choice.h"
#include "engine/eos/eos_parameters.h"
#include "engine/eos/fugacity.h"

#include <cmath>

// The part of ln φ_i that the one-component and the one-phase evaluations share: the phase
// terms computed once from Z, a, b, T, P, and the per-component expression. Keeping one copy
// makes the two evaluations give the same numbers.

namespace quorvane::detail {

struct PhaseTerms {
    EosEquation equation = EosEquation::Unknown;
    double z = 0.0;
    double a = 0.0;
    double b = 0.0;
    double lnZMinusB = 0.0; // ln(Z − b·P/(R·T))
    double coefficient = 0.0;
    double logTerm = 0.0;
};

inline double ChooseZ(const RootPair& roots, Phase phase) {
    if (roots.liquid == kNoLiquidRoot) {
        return roots.vapour;
    }
    return phase == Phase::Vapour ? roots.vapour : roots.liquid;
}

inline PhaseTerms MakePhaseTerms(EosEquation equation, double z, double a, double b, float tR,
                                 float pressPsia) {
    PhaseTerms t;
    t.equation = equation;
    t.z = z;
    t.a = a;
    t.b = b;
    const double temp = tR;
    const double p = pressPsia;
    if (b == 0.0) {
        throw DivisionByZeroError("the mixture co-volume is zero (empty composition)");
    }
    const double volume = z * kGasConstant * temp / p;
    t.lnZMinusB = checked::Log(z - b * p / (kGasConstant * temp),
                               "no physical root: Z is not above the reduced co-volume B");
    switch (equation) {
    case EosEquation::RK:
        t.coefficient = 1.0 / (b * kGasConstant * std::pow(temp, 1.5));
        t.logTerm = checked::Log(1.0 + checked::Div(b, volume, "zero molar volume"),
                                 "non-positive volume term");
        break;
    case EosEquation::SRK:
        t.coefficient = a / (b * kGasConstant * temp);
        t.logTerm = checked::Log(1.0 + checked::Div(b, volume, "zero molar volume"),
                                 "non-positive volume term");
        break;
    case EosEquation::PR: {
        static const double sqrt2 = std::pow(2.0, 0.5);
        static const double twoPow15 = std::pow(2.0, 1.5);
        t.coefficient = a / (twoPow15 * b * kGasConstant * temp);
        t.logTerm = checked::Log(checked::Div(volume + (1.0 + sqrt2) * b,
                                              volume - (sqrt2 - 1.0) * b, "zero volume term"),
                                 "non-positive volume term");
        break;
    }
    case EosEquation::Unknown:
        throw InvalidArgumentError("unknown equation of state");
    }
    if (equation != EosEquation::RK && a == 0.0) {
        throw DivisionByZeroError("the mixture energy parameter is zero");
    }
    return t;
}

// ln φ_i from the phase terms, the component's b_i and its attraction term: for SRK and PR
// 2·sqrt(a_i)·S_i/a with S_i = Σ_j x_j·sqrt(a_j)·(1 − kij(i, j)), for RK 2·sqrt(a_i·a).
inline double LnPhi(const PhaseTerms& t, double bi, double attraction) {
    const double l1 = (bi / t.b) * (t.z - 1.0) - t.lnZMinusB;
    if (t.equation == EosEquation::RK) {
        return l1 - t.coefficient * (attraction - t.a * bi / t.b) * t.logTerm;
    }
    return l1 - t.coefficient * (attraction - bi / t.b) * t.logTerm;
}

} // namespace quorvane::detail
