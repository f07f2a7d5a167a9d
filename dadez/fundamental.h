#pragma once

// The four fundamental equations of IFC-67 in reduced variables, written once as templates so
// that evaluating them on Dual or Jet numbers (jet.h) yields their partial derivatives:
//   ζ1(θ, β), ζ2(θ, β): reduced Gibbs energy of subregions 1 (liquid) and 2 (vapour);
//   ψ3(θ, χ), ψ4(θ, χ): reduced Helmholtz energy of subregions 3 and 4 (ψ4 = ψ3 + correction).

#include "dadez/coefficients.h"
#include "dadez/jet.h"

#include <cmath>

namespace dadez {

// β_L(θ): boundary between subregions 2 and 3 (also part of ζ2).
template <class T>
T BetaL(const T& theta) {
    using namespace ifc67;
    return kL0 + theta * (kL1 + kL2 * theta);
}

// Parts that depend on θ alone are evaluated once in one variable (Jet1) and lifted with OfX.
template <class T>
T Zeta1(const T& theta, const T& beta) {
    using namespace ifc67;
    const double* a = kA1a;
    const Jet1 th = Jet1::VarX(ValueOf(theta));
    const Jet1 th2 = th * th;

    Jet1 poly = kA[10];
    for (int nu = 9; nu >= 1; --nu) {
        poly = poly * th + kA[nu];
    }
    const Jet1 thetaOnly = kA[0] * th * (1.0 - Log(th)) + poly;
    const Jet1 yOfTheta = 1.0 - a[1] * th2 - a[2] * IntPow(th, -6);
    const Jet1 linearInBeta = kA[12] + kA[13] * th + kA[14] * th2 + kA[15] * IntPow(a[6] - th, 10) +
                              kA[16] / (a[7] + IntPow(th, 19));
    const Jet1 cubicFactor = 1.0 / (a[8] + IntPow(th, 11));
    const Jet1 a20Factor = kA[20] * IntPow(th, 18) * (a[9] + th2);
    const Jet1 a22Factor = kA[22] * IntPow(th, -20);

    const T y = OfX(theta, yOfTheta);
    const T z = y + Sqrt(a[3] * y * y - 2.0 * a[4] * theta + 2.0 * a[5] * beta);
    const T beta2 = beta * beta;
    const T beta3 = beta2 * beta;
    return OfX(theta, thetaOnly) +
           kA[11] * Pow(z, 12.0 / 17.0) * ((17.0 / 29.0) * z - (17.0 / 12.0) * y) +
           beta * OfX(theta, linearInBeta) -
           (kA[17] * beta + kA[18] * beta2 + kA[19] * beta3) * OfX(theta, cubicFactor) -
           OfX(theta, a20Factor) * (IntPow(a[10] + beta, -3) + a[11] * beta) +
           kA[21] * (a[12] - theta) * beta3 + OfX(theta, a22Factor) * beta2 * beta2;
}

template <class T>
T Zeta2(const T& theta, const T& beta) {
    using namespace ifc67;
    const Jet1 th = Jet1::VarX(ValueOf(theta));

    // Powers X^z of X = exp(b(1 − θ)) up to the largest exponent, and each term c X^z as a
    // function of θ: d(X^z)/dθ = −b z X^z.
    constexpr int kMaxExponent = 54;
    double powers[kMaxExponent + 1];
    powers[0] = 1.0;
    const double x = std::exp(kB * (1.0 - th.v));
    powers[1] = x;
    // Each power from two of about half its exponent: short dependency chains, unlike
    // multiplying by x one step at a time.
    for (int i = 2; i <= kMaxExponent; ++i) {
        powers[i] = powers[i / 2] * powers[i - i / 2];
    }
    const auto term = [&powers](double coefficient, int exponent) {
        const double value = coefficient * powers[exponent];
        const double bz = kB * exponent;
        return Jet1(value, -bz * value, bz * bz * value);
    };

    Jet1 group[9] = {};
    for (const BTerm& t : kBTerms) {
        group[t.mu] = group[t.mu] + term(t.coefficient, t.exponent);
    }
    Jet1 denominator[9] = {};
    for (const BTerm& t : kSmallBTerms) {
        denominator[t.mu] = denominator[t.mu] + term(t.coefficient, t.exponent);
    }
    Jet1 b9 = {};
    for (int nu = 0; nu <= 6; ++nu) {
        b9 = b9 + term(kB9[nu], nu);
    }

    Jet1 ideal = kB0nu[5];
    for (int nu = 4; nu >= 1; --nu) {
        ideal = ideal * th + kB0nu[nu];
    }
    ideal = ideal + kB0 * th * (1.0 - Log(th));

    // Groups μ = 1..5: β^μ Σ B_μλ X^z.
    T power = beta;
    T residual = OfX(theta, group[1]) * power;
    for (int mu = 2; mu <= 5; ++mu) {
        power = power * beta;
        residual = residual + OfX(theta, group[mu]) * power;
    }
    // Groups μ = 6..8: N/(β^(2−μ) + D), written as N β^(μ−2)/(1 + D β^(μ−2)) so that low
    // pressures do not overflow.
    power = beta * beta * beta; // β^(μ−2) at μ = 5; the loop raises it first
    for (int mu = 6; mu <= 8; ++mu) {
        power = power * beta;
        residual =
            residual + OfX(theta, group[mu]) * power / (1.0 + OfX(theta, denominator[mu]) * power);
    }

    // β (β/β_L)^10 Σ B9ν X^ν.
    const Jet1 lineTerm = IntPow(BetaL(th), -10) * b9;
    const T beta2 = beta * beta;
    const T beta5 = beta2 * beta2 * beta;
    return OfX(theta, ideal) + kI1 * theta * Log(beta) - residual +
           beta * beta5 * beta5 * OfX(theta, lineTerm);
}

// Σ_{ν=first..last} c[ν] w^(ν−1) by Horner's rule, w = 1/χ.
template <class T>
T InversePowers(const double* c, int first, int last, const T& w) {
    T sum = c[last];
    for (int nu = last - 1; nu >= first; --nu) {
        sum = sum * w + c[nu];
    }
    return sum * IntPow(w, first - 1);
}

template <class T>
T Psi3(const T& theta, const T& chi) {
    using namespace ifc67;
    const T t = theta - 1.0;
    const T w = 1.0 / chi;
    const T logChi = Log(chi);

    const T row0 = kC0[0] + kC0[1] * chi + InversePowers(kC0, 2, 11, w) + kC0[12] * logChi;
    const T row1 = kC1[1] * chi + InversePowers(kC1, 2, 6, w) + kC1[7] * logChi;
    const T row2 = kC2[1] * chi + InversePowers(kC2, 2, 7, w) + kC2[8] * logChi;
    const T row3 = kC3[1] * chi + InversePowers(kC3, 2, 9, w) + kC3[10] * logChi;

    const T invTheta = 1.0 / theta;
    T c6 = kC6[4];
    for (int nu = 3; nu >= 0; --nu) {
        c6 = c6 * invTheta + kC6[nu];
    }
    c6 = c6 * invTheta * invTheta;

    T c7 = kC7[8];
    for (int nu = 7; nu >= 0; --nu) {
        c7 = c7 * t + kC7[nu];
    }
    c7 = c7 * t;

    const T chi2 = chi * chi;
    return row0 + t * (row1 + t * (row2 + t * row3)) +
           t * (kC40 + kC41 * IntPow(w, 5)) * IntPow(invTheta, 23) + kC50 * theta * Log(theta) +
           chi2 * chi2 * chi2 * c6 + c7;
}

template <class T>
T Psi4(const T& theta, const T& chi) {
    using namespace ifc67;
    const T y = (1.0 - theta) / (1.0 - kTheta1);
    const T w = 1.0 / chi;
    T d3 = kD3[4];
    T d4 = kD4[4];
    for (int nu = 3; nu >= 0; --nu) {
        d3 = d3 * w + kD3[nu];
        d4 = d4 * w + kD4[nu];
    }
    const T d5 = kD5[0] + chi * (kD5[1] + chi * kD5[2]);
    const T y3 = y * y * y;
    return Psi3(theta, chi) + y3 * d3 + y3 * y * d4 + IntPow(y, 32) * d5;
}

} // namespace dadez
