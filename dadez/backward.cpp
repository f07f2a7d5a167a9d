// Backward functions: θ from (σ, β) in subregions 1 and 2 and from (ε, β) in subregion 2.
// σ and ε rise with θ along an isobar (their θ-derivatives are φ/θ and φ, φ > 0), so each is
// solved by Newton's method inside the subregion's temperature range at that β, falling back to
// bisection whenever a step would leave the bracket.

#include "dadez/dadez.h"
#include "dadez/fundamental.h"
#include "dadez/newton.h"
#include "dadez/saturation.h"

#include <cmath>

namespace {

using dadez::Jet1;
using namespace dadez::ifc67;

enum class Quantity { Entropy, Enthalpy };

// Value of σ or ε and its θ-derivative from the Gibbs energy (β held constant).
struct Point {
    double value;
    double slope;
};

template <Jet1 (*Zeta)(const Jet1&, const Jet1&)>
Point Evaluate(Quantity quantity, double theta, double beta) {
    const Jet1 z = Zeta(Jet1::VarX(theta), Jet1(beta));
    if (quantity == Quantity::Entropy) {
        return {-z.dx, -z.dxx};
    }
    return {z.v - theta * z.dx, -theta * z.dxx};
}

template <Jet1 (*Zeta)(const Jet1&, const Jet1&)>
double SolveTheta(Quantity quantity, double target, double beta, double low, double high) {
    if (!(low > 0.0 && low <= high && std::isfinite(target))) {
        return -1.0;
    }
    const double valueLow = Evaluate<Zeta>(quantity, low, beta).value;
    const double valueHigh = Evaluate<Zeta>(quantity, high, beta).value;
    // Values within rounding of an end of the range (for instance after a unit conversion and
    // back) are taken as that end; the rounding scales with the values, not only with the span.
    // Just above the lowest saturation pressure the liquid spans so little of θ that rounding
    // outweighs the rise of σ and the ends come out in falling order: any θ there is the answer.
    const double lowest = std::fmin(valueLow, valueHigh);
    const double highest = std::fmax(valueLow, valueHigh);
    const double slack =
        1e-12 * (highest - lowest + std::fmax(std::fabs(lowest), std::fabs(highest)));
    if (!(target >= lowest - slack && target <= highest + slack)) {
        return -1.0;
    }
    if (target <= valueLow || valueHigh <= valueLow) {
        return low;
    }
    if (target >= valueHigh) {
        return high;
    }
    // Start by interpolation between the ends of the bracket: ε grows about linearly with θ,
    // σ about with ln θ.
    const double fraction = (target - valueLow) / (valueHigh - valueLow);
    const double theta = quantity == Quantity::Entropy
                             ? low * std::exp(fraction * std::log(high / low))
                             : low + (high - low) * fraction;
    const auto misfit = [quantity, target, beta](double t) {
        const Point p = Evaluate<Zeta>(quantity, t, beta);
        return dadez::NewtonPoint{p.value - target, p.slope};
    };
    return dadez::SolveBracketed(misfit, theta, low, high, true, 1e-15);
}

// Lowest θ of subregion 2 at β: the temperature limit below the lowest saturation pressure, the
// saturation temperature up to 350 °C, the boundary line L above.
double VapourLowTheta(double beta) {
    if (beta <= STM_min_beta_K()) {
        return kThetaMin;
    }
    if (beta <= STM_min_beta_3_4()) {
        return dadez::ThetaK(beta);
    }
    return dadez::ThetaL(beta);
}

// Highest θ of subregion 1 at β: the saturation temperature below 350 °C, else 350 °C.
double LiquidHighTheta(double beta) {
    if (beta < STM_min_beta_K()) {
        return -1.0;
    }
    if (beta < STM_min_beta_3_4()) {
        return dadez::ThetaK(beta);
    }
    return kTheta1;
}

} // namespace

extern "C" {

double STM_inv_theta_sigma1(double sigma, double beta) {
    return SolveTheta<dadez::Zeta1<Jet1>>(Quantity::Entropy, sigma, beta, kThetaMin,
                                          LiquidHighTheta(beta));
}

double STM_inv_theta_sigma2(double sigma, double beta) {
    return SolveTheta<dadez::Zeta2<Jet1>>(Quantity::Entropy, sigma, beta, VapourLowTheta(beta),
                                          kThetaMax);
}

double STM_inv_theta_e2(double epsilon, double beta) {
    return SolveTheta<dadez::Zeta2<Jet1>>(Quantity::Enthalpy, epsilon, beta, VapourLowTheta(beta),
                                          kThetaMax);
}

} // extern "C"
