#include "calvix/gibbs_vapour.h"

#include "calvix/constants.h"

#include <algorithm>
#include <cmath>

namespace calvix {

Properties VapourGibbsProperties(double tK, double pMPa, double pi, double tau,
                                 const SeriesSums& ideal, const SeriesSums& residual, double b) {
    // Reduced derivatives, each already multiplied by its variables.
    const double gamma = std::log(pi) + ideal.value + residual.value;
    const double tauGammaTau = ideal.b + tau * residual.b / b; // τ(γ⁰τ + γʳτ)
    const double tau2GammaTauTau = ideal.bb + tau * tau * residual.bb / (b * b); // τ²(γ⁰ττ + γʳττ)
    const double piGammaRPi = residual.a;                                        // π γʳπ
    const double pi2GammaRPiPi = residual.aa;                                    // π² γʳππ
    const double tauPiGammaRPiTau = tau * residual.ab / b;                       // τ π γʳπτ

    const double rt = kGasConstant * tK;
    const double cross = 1.0 + piGammaRPi - tauPiGammaRPiTau;
    const double soundBracket = (1.0 + 2.0 * piGammaRPi + piGammaRPi * piGammaRPi) /
                                ((1.0 - pi2GammaRPiPi) + cross * cross / tau2GammaTauTau);

    Properties out;
    out.p = pMPa;
    out.v = rt / pMPa * (1.0 + piGammaRPi) * 0.001;
    out.h = rt * tauGammaTau;
    out.s = kGasConstant * (tauGammaTau - gamma);
    out.cp = -kGasConstant * tau2GammaTauTau;
    out.cv = kGasConstant * (-tau2GammaTauTau - cross * cross / (1.0 - pi2GammaRPiPi));
    out.w = std::sqrt(1000.0 * rt * std::max(soundBracket, 0.0));
    // κ = w²/(p v) = W / (π γπ) with γπ = 1/π + γʳπ; the unclamped bracket is used.
    out.kappa = soundBracket / (1.0 + piGammaRPi);
    return out;
}

} // namespace calvix
