// Saturation line β_K(θ) and its inverse; boundary line β_L(θ) and its inverse.

#include "dadez/saturation.h"

#include "dadez/dadez.h"
#include "dadez/fundamental.h"
#include "dadez/newton.h"

#include <algorithm>
#include <cmath>

namespace dadez {

namespace {

// ln β_K(θ) with x = 1 − θ.
template <class T>
T LnBetaK(const T& theta) {
    using ifc67::kK;
    const T x = 1.0 - theta;
    T poly = kK[5];
    for (int nu = 4; nu >= 1; --nu) {
        poly = poly * x + kK[nu];
    }
    poly = poly * x;
    return poly / (theta * (1.0 + x * (kK[6] + kK[7] * x))) - x / (kK[8] * x * x + kK[9]);
}

} // namespace

double BetaK(double theta) {
    return std::exp(LnBetaK(theta));
}

double ThetaK(double beta) {
    static const double betaLow = BetaK(ifc67::kThetaMin);
    if (!(beta >= betaLow && beta <= 1.0)) {
        return -1.0;
    }
    if (beta == 1.0) {
        return 1.0;
    }
    // ln β_K rises monotonically with θ.
    const double target = std::log(beta);
    const double low = ifc67::kThetaMin;
    const double high = 1.0;
    const double theta =
        std::clamp(1.0 / (1.0 - target / 7.5), low, high); // Clausius-Clapeyron guess
    const auto misfit = [target](double t) {
        const Dual f = LnBetaK(Dual::VarX(t));
        return NewtonPoint{f.v - target, f.dx};
    };
    return SolveBracketed(misfit, theta, low, high, true, 1e-15);
}

double ThetaL(double beta) {
    using namespace ifc67;
    const double discriminant = kL1 * kL1 - 4.0 * kL2 * (kL0 - beta);
    if (discriminant < 0.0) {
        return -1.0;
    }
    return (-kL1 + std::sqrt(discriminant)) / (2.0 * kL2);
}

} // namespace dadez

extern "C" {

double STM_beta_K(double theta) {
    if (!(theta >= dadez::ifc67::kThetaMin && theta <= 1.0)) {
        return -1.0;
    }
    return dadez::BetaK(theta);
}

double STM_inv_theta_beta_K(double beta) {
    return dadez::ThetaK(beta);
}

double STM_inv_theta_beta_L(double beta) {
    return dadez::ThetaL(beta);
}

} // extern "C"
