#include "engine/flash/rachford_rice.h"

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

constexpr double kOpenBound = 1e6;

template <typename Real>
double Function(double v, std::span<const Real> k, std::span<const float> z) {
    double f = 0.0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        const double km1 = static_cast<double>(k[i]) - 1.0;
        f += z[i] * km1 / (1.0 + v * km1);
    }
    return f;
}

// F and F' in one sweep (the same sums as the two functions).
template <typename Real>
void FunctionAndDerivative(double v, std::span<const Real> k, std::span<const float> z, double& f,
                           double& d) {
    f = 0.0;
    d = 0.0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        const double km1 = static_cast<double>(k[i]) - 1.0;
        const double den = 1.0 + v * km1;
        f += z[i] * km1 / den;
        d -= z[i] * km1 * km1 / (den * den);
    }
}

template <typename Real>
double Derivative(double v, std::span<const Real> k, std::span<const float> z) {
    double d = 0.0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        const double km1 = static_cast<double>(k[i]) - 1.0;
        const double den = 1.0 + v * km1;
        d -= z[i] * km1 * km1 / (den * den);
    }
    return d;
}

// The bracket 1/(1 − K_max) .. 1/(1 − K_min); a K of exactly 1 leaves that side open, held at
// 1e6 in magnitude.
template <typename Real>
void Bracket(std::span<const Real> k, double& lo, double& hi) {
    double kMin = k[0];
    double kMax = k[0];
    for (std::size_t i = 1; i < k.size(); ++i) {
        kMin = std::min(kMin, static_cast<double>(k[i]));
        kMax = std::max(kMax, static_cast<double>(k[i]));
    }
    lo = kMax == 1.0 ? -kOpenBound : 1.0 / (1.0 - kMax);
    hi = kMin == 1.0 ? kOpenBound : 1.0 / (1.0 - kMin);
}

// The start value: the preferred one when it lies strictly inside the bracket, else 0.5 when
// that does, else the bracket's midpoint.
double StartValue(double lo, double hi, double preferred = 0.5) {
    if (lo < preferred && preferred < hi) {
        return preferred;
    }
    return (lo < 0.5 && 0.5 < hi) ? 0.5 : (lo + hi) / 2.0;
}

template <typename Real>
double Solve(std::span<const Real> k, std::span<const float> z, double start) {
    if (z.empty()) {
        return 0.0;
    }
    double lo = 0.0;
    double hi = 0.0;
    Bracket(k, lo, hi);
    double v = StartValue(lo, hi, start);
    for (int pass = 0; pass < 1000; ++pass) {
        double f = 0.0;
        double df = 0.0;
        FunctionAndDerivative(v, k, z, f, df);
        if (!std::isfinite(f) || !std::isfinite(df) || df == 0.0) {
            // An overflow or a division by zero ends the search with the value reached.
            return v;
        }
        if (f > 0.0) {
            lo = v;
        } else {
            hi = v;
        }
        double vNew = v - f / df;
        if (!(vNew > lo && vNew < hi)) {
            vNew = (lo + hi) / 2.0;
        }
        const double dv = vNew - v;
        v = vNew;
        if (dv * dv < 1e-10) {
            break;
        }
    }
    return v;
}

// Safeguarded Newton between the poles around the root, to the last bit: the root is kept
// inside a sign-change bracket and the iteration ends when the bracket can shrink no further.
double SolveTight(std::span<const double> k, std::span<const float> z) {
    double lo = 0.0;
    double hi = 0.0;
    Bracket(k, lo, hi);
    // Pull the ends a relative hair inside the poles.
    const double width = hi - lo;
    lo += 1e-12 * std::fabs(width);
    hi -= 1e-12 * std::fabs(width);
    double v = StartValue(lo, hi);
    for (int pass = 0; pass < 200; ++pass) {
        const double f = Function(v, k, z);
        if (f == 0.0) {
            return v;
        }
        const double df = Derivative(v, k, z);
        if (f > 0.0) {
            lo = v;
        } else {
            hi = v;
        }
        double vNew = df != 0.0 ? v - f / df : (lo + hi) / 2.0;
        if (!(vNew > lo && vNew < hi) || !std::isfinite(vNew)) {
            vNew = (lo + hi) / 2.0;
        }
        if (vNew == v || !(hi > lo)) {
            return v;
        }
        if (std::fabs(vNew - v) <= 1e-15 * std::max(1.0, std::fabs(v))) {
            return vNew;
        }
        v = vNew;
    }
    return v;
}

template <typename Real>
bool Normalize(std::span<Real> values) {
    double sum = 0.0;
    for (const Real v : values) {
        sum += v;
    }
    if (sum == 0.0 || !std::isfinite(sum)) {
        return false;
    }
    for (Real& v : values) {
        v = static_cast<Real>(v / sum);
    }
    return true;
}

} // namespace

double RachfordRiceFunction(double v, std::span<const double> k, std::span<const float> z) {
    return Function(v, k, z);
}

double RachfordRiceSolve(std::span<const float> k, std::span<const float> z, double start) {
    return Solve(k, z, std::isfinite(start) ? start : 0.5);
}

double RachfordRiceSolveTight(std::span<const double> k, std::span<const float> z) {
    return SolveTight(k, z);
}

bool NormalizeFractions(std::span<float> values) {
    return Normalize(values);
}

bool NormalizeFractions(std::span<double> values) {
    return Normalize(values);
}

} // namespace quorvane
