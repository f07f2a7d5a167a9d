#include "engine/eos/cubic_roots.h"

#include "engine/eos/checked_math.h"

#include <cmath>
#include <vector>

namespace quorvane {

namespace {

constexpr double kTwoPi = 6.28318530717958;
constexpr double kFourPi = 12.56637061435916;

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

} // namespace

RootPair SolveCubic(double a1, double a2, double a3, const CubicState& state) {
    const double q = (a1 * a1 - 3.0 * a2) / 9.0;
    const double r = (2.0 * a1 * a1 * a1 - 9.0 * a1 * a2 + 27.0 * a3) / 54.0;
    const double q3 = q * q * q;
    if (q3 - r * r < 0.0) {
        const double t = std::pow(std::sqrt(r * r - q3) + std::fabs(r), 1.0 / 3.0);
        const double root = -Sign(r) * (t + q / t) - a1 / 3.0;
        return RootPair{root, kNoLiquidRoot};
    }
    double z[3];
    if (q <= 0.0) {
        // Q³ − R² ≥ 0 with Q = 0 leaves R = 0: a triple root.
        z[0] = z[1] = z[2] = -a1 / 3.0;
    } else {
        const double theta = ArcCos(r / std::pow(q, 1.5));
        const double twoSqrtQ = 2.0 * std::sqrt(q);
        z[0] = -twoSqrtQ * std::cos(theta / 3.0) - a1 / 3.0;
        z[1] = -twoSqrtQ * std::cos((theta + kTwoPi) / 3.0) - a1 / 3.0;
        z[2] = -twoSqrtQ * std::cos((theta + kFourPi) / 3.0) - a1 / 3.0;
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
