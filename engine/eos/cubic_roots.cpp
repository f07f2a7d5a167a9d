#include "engine/eos/cubic_roots.h"

#include "engine/eos/checked_math.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace quorvane {

namespace {

// The three roots are −2·sqrt(Q)·cos((θ + k·2π)/3) − a1/3, k = 0, 1, 2 (2π = 6.28318530717958,
// 4π = 12.56637061435916); sqrt(3)/2 turns cos(θ/3) by 120°.
constexpr double kHalfSqrt3 = 0.86602540378443864676;

double Sign(double v) {
    return v > 0.0 ? 1.0 : (v < 0.0 ? -1.0 : 0.0);
}

// arccos evaluated as arctan(−x/sqrt(1 − x²)) + 2·arctan(1). The ends of the range are taken
// exactly (x = −1 gives π, x = +1 gives 0), and a value a rounding step outside −1..1 is held
// at the end it overshot.
double ArcCos(double x) {
    if (x <= -1.0) {
        return 4.0 * std::atan(1.0);
    }
    if (x >= 1.0) {
        return 0.0;
    }
    return std::atan(-x / std::sqrt(1.0 - x * x)) + 2.0 * std::atan(1.0);
}

// Real cube root of a non-negative value: a starting value from the exponent bits, then
// Halley steps, t ← t·(t³ + 2x)/(2t³ + x), each of which triples the correct digits; the result
// agrees with the library cube root to the last bit or two, at a fraction of its cost.
double CubeRoot(double x) {
    if (!(x > 0.0) || !std::isfinite(x)) {
        return std::cbrt(x);
    }
    std::uint64_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    bits = bits / 3 + 0x2A9F7893782DA1CEULL; // exponent divided by 3, bias restored
    double t = 0.0;
    std::memcpy(&t, &bits, sizeof t);
    for (int i = 0; i < 3; ++i) {
        const double t3 = t * t * t;
        t = t * (t3 + 2.0 * x) / (2.0 * t3 + x);
    }
    return t;
}

// The two smaller roots again, from the cubic deflated by the largest root L:
// Z² + (a1 + L)·Z − a3/L = 0, solved in the cancellation-free form. The closed formulas give
// every root with an absolute error near 1e-16·(scale), and arccos near ±1 loses half the
// digits; a liquid root at very low pressure is itself tiny (it lies just above B ~ 1e-10),
// so those errors can put it at or below B. Used only when the smallest root is that small.
void RefineSmallRoots(double largest, double a1, double a3, double& middle, double& smallest) {
    const double c1 = a1 + largest;
    const double c0 = -a3 / largest;
    const double disc = c1 * c1 - 4.0 * c0;
    if (!(disc >= 0.0) || !std::isfinite(c0)) {
        return;
    }
    const double q = -0.5 * (c1 + (c1 >= 0.0 ? std::sqrt(disc) : -std::sqrt(disc)));
    if (q == 0.0) {
        return;
    }
    const double r1 = q;
    const double r2 = c0 / q;
    middle = std::fmax(r1, r2);
    smallest = std::fmin(r1, r2);
}

} // namespace

RootPair SolveCubic(double a1, double a2, double a3, const CubicState& state) {
    const double q = (a1 * a1 - 3.0 * a2) / 9.0;
    const double r = (2.0 * a1 * a1 * a1 - 9.0 * a1 * a2 + 27.0 * a3) / 54.0;
    const double q3 = q * q * q;
    // A double root makes Q³ − R² vanish; rounding can push it a hair below zero, which would
    // hide the double root behind the one-root formula. Within rounding of zero the
    // three-root form (with x held at ±1) is used.
    const double discriminant = q3 - r * r;
    if (discriminant < 0.0 && -discriminant > 1e-12 * r * r) {
        const double t = CubeRoot(std::sqrt(r * r - q3) + std::fabs(r));
        const double root = -Sign(r) * (t + q / t) - a1 / 3.0;
        return RootPair{root, kNoLiquidRoot};
    }
    double z[3];
    if (q <= 0.0) {
        // Q³ − R² ≥ 0 with Q = 0 leaves R = 0: a triple root.
        z[0] = z[1] = z[2] = -a1 / 3.0;
    } else {
        const double sqrtQ = std::sqrt(q);
        const double theta = ArcCos(r / (q * sqrtQ)); // R/Q^1.5
        const double twoSqrtQ = 2.0 * sqrtQ;
        // cos((θ + 2π)/3) and cos((θ + 4π)/3) by rotating cos(θ/3), sin(θ/3) through 120° and
        // 240°: one sine and one cosine instead of three cosines, equal to rounding.
        const double c = std::cos(theta / 3.0);
        const double sn = std::sin(theta / 3.0);
        z[0] = -twoSqrtQ * c - a1 / 3.0;
        z[1] = -twoSqrtQ * (-0.5 * c - kHalfSqrt3 * sn) - a1 / 3.0;
        z[2] = -twoSqrtQ * (-0.5 * c + kHalfSqrt3 * sn) - a1 / 3.0;
    }
    // z[1] is the largest root, z[0] the smallest (θ/3 lies in 0..π/3).
    if (q > 0.0 && std::fabs(z[0]) < 1e-4 * std::fabs(z[1])) {
        RefineSmallRoots(z[1], a1, a3, z[2], z[0]);
    }
    RootPair pair{0.0, 0.0};
    for (int i = 0; i < 3; ++i) {
        const double a = z[(i + 1) % 3];
        const double b = z[(i + 2) % 3];
        if (z[i] >= a && z[i] >= b && z[i] >= state.lastB) {
            pair.vapour = z[i];
        }
    }
    bool strictlySmallest = false;
    for (int i = 0; i < 3; ++i) {
        if (z[i] < z[(i + 1) % 3] && z[i] < z[(i + 2) % 3]) {
            pair.liquid = z[i];
            strictlySmallest = true;
        }
    }
    if (!strictlySmallest) {
        // Two (or three) equal smallest roots: that double root is the liquid-like root.
        pair.liquid = std::fmin(z[0], std::fmin(z[1], z[2]));
    }
    if (pair.liquid < 0.0) {
        pair.liquid = kNoLiquidRoot;
    }
    return pair;
}

RootPair CompressibilityRoots(EosEquation equation, float tempF, float pressPsia,
                              std::span<const float> tcF, std::span<const float> pcPsia,
                              std::span<const float> w, std::span<const float> x,
                              EosVariant variant, KijView kij, CubicState& state) {
    // The caller's arrays stay in °F; the conversion works on copies held in 32 bits.
    const float tR = RankineOf(tempF);
    std::vector<float> tcR(tcF.size());
    for (std::size_t i = 0; i < tcF.size(); ++i) {
        tcR[i] = RankineOf(tcF[i]);
    }
    const double b = MixtureBParameter(equation, tcR, pcPsia, x);
    const double a = equation == EosEquation::RK
                         ? MixtureAParameter(equation, tcR, pcPsia, x)
                         : MixtureAParameter(equation, tcR, pcPsia, w, x, tR, variant, kij);
    const double bigA = ReducedA(equation, a, pressPsia, tR);
    const double bigB = ReducedB(b, pressPsia, tR);
    return RootsOfReduced(equation, bigA, bigB, state);
}

RootPair RootsOfReduced(EosEquation equation, double bigA, double bigB, CubicState& state) {
    state.lastB = bigB;
    if (equation == EosEquation::PR) {
        return SolveCubic(bigB - 1.0, bigA - 3.0 * bigB * bigB - 2.0 * bigB,
                          -(bigA * bigB - bigB * bigB - bigB * bigB * bigB), state);
    }
    return SolveCubic(-1.0, bigA - bigB - bigB * bigB, -bigA * bigB, state);
}

} // namespace quorvane
