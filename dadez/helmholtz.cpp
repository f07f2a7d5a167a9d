// Properties of subregions 3 and 4 from the reduced Helmholtz energy ψ(θ, χ):
// β = −ψ_χ, σ = −ψ_θ, ε = ψ − θ ψ_θ − χ ψ_χ, φ = −θ ψ_θθ + θ ψ_θχ² / ψ_χχ;
// and χ from (θ, β) by solving β = −ψ_χ on the liquid or vapour branch.

#include "dadez/dadez.h"
#include "dadez/fundamental.h"

#include <cmath>

namespace {

using dadez::Dual;
using dadez::Jet;

template <class T>
using Helmholtz = T (*)(const T&, const T&);

double Enthalpy(Helmholtz<Dual> psi, double theta, double chi) {
    const Dual f = psi(Dual::VarX(theta), Dual::VarY(chi));
    return f.v - theta * f.dx - chi * f.dy;
}

double HeatCapacity(Helmholtz<Jet> psi, double theta, double chi) {
    const Jet f = psi(Jet::VarX(theta), Jet::VarY(chi));
    return -theta * f.dxx + theta * f.dxy * f.dxy / f.dyy;
}

// Pressure misfit β(θ, χ) − target and its slope ∂β/∂χ.
struct Misfit {
    double value;
    double slope;
};

Misfit Evaluate(Helmholtz<Jet> psi, double theta, double chi, double target) {
    const Jet f = psi(Jet(theta), Jet::VarY(chi));
    return {-f.dy - target, -f.dyy};
}

constexpr int kMaxSteps = 200;
constexpr double kTolerance = 1e-14;

// Root of the misfit inside [low, high], where it is positive at low and negative at high:
// Newton's method, falling back to bisection whenever a step would leave the bracket.
double SolveInBracket(Helmholtz<Jet> psi, double theta, double target, double low, double high) {
    double chi = 0.5 * (low + high);
    for (int step = 0; step < kMaxSteps; ++step) {
        const Misfit m = Evaluate(psi, theta, chi, target);
        if (m.value == 0.0) {
            return chi;
        }
        if (m.value > 0.0) {
            low = chi;
        } else {
            high = chi;
        }
        double next = chi - m.value / m.slope;
        if (!(next > low && next < high)) {
            next = 0.5 * (low + high);
        }
        if (std::fabs(next - chi) <= kTolerance * chi || high - low <= kTolerance * chi) {
            return next;
        }
        chi = next;
    }
    return -1.0;
}

// Walks from start towards the root in the given direction (+1 towards larger χ on the liquid
// branch, −1 towards smaller χ on the vapour branch), each step a Newton step limited to the
// factor `maxFactor`, until the misfit changes sign; then solves inside that bracket. The first
// sign change met is the root nearest the start whose slope ∂β/∂χ is negative.
double WalkToRoot(Helmholtz<Jet> psi, double theta, double target, double start, int direction,
                  double maxFactor) {
    double chi = start;
    Misfit m = Evaluate(psi, theta, chi, target);
    // The start must lie on the outer side of the root: misfit > 0 left of the liquid root,
    // < 0 right of the vapour root.
    for (int step = 0; step < 60 && (direction * m.value <= 0.0 || !std::isfinite(m.value));
         ++step) {
        chi = direction > 0 ? chi / 1.25 : chi * 1.25;
        m = Evaluate(psi, theta, chi, target);
    }
    if (!(direction * m.value > 0.0)) {
        return -1.0;
    }
    for (int step = 0; step < kMaxSteps; ++step) {
        const double limit = direction > 0 ? chi * maxFactor : chi / maxFactor;
        double next = limit;
        if (m.slope < 0.0) {
            const double newton = chi - m.value / m.slope;
            next = direction > 0 ? std::fmin(newton, limit) : std::fmax(newton, limit);
        }
        if (std::fabs(next - chi) <= kTolerance * chi) {
            return next;
        }
        const Misfit n = Evaluate(psi, theta, next, target);
        if (!std::isfinite(n.value)) {
            return -1.0;
        }
        if (n.value == 0.0) {
            return next;
        }
        if (direction * n.value < 0.0) {
            return direction > 0 ? SolveInBracket(psi, theta, target, chi, next)
                                 : SolveInBracket(psi, theta, target, next, chi);
        }
        chi = next;
        m = n;
    }
    return -1.0;
}

} // namespace

extern "C" {

double STM_e3_enthalpy(double theta, double chi) {
    return Enthalpy(dadez::Psi3<Dual>, theta, chi);
}
double STM_e4_enthalpy(double theta, double chi) {
    return Enthalpy(dadez::Psi4<Dual>, theta, chi);
}

double STM_sigma3_entropy(double theta, double chi) {
    return -dadez::Psi3(Dual::VarX(theta), Dual(chi)).dx;
}
double STM_sigma4_entropy(double theta, double chi) {
    return -dadez::Psi4(Dual::VarX(theta), Dual(chi)).dx;
}

double STM_iso_heat_cap3(double theta, double chi) {
    return HeatCapacity(dadez::Psi3<Jet>, theta, chi);
}
double STM_iso_heat_cap4(double theta, double chi) {
    return HeatCapacity(dadez::Psi4<Jet>, theta, chi);
}

double STM_inv_x_beta3(double theta, double beta) {
    if (!(theta > 0.0 && beta > 0.0)) {
        return -1.0;
    }
    // Start on the gas side of the vapour root: beyond the ideal-gas volume.
    const double start = 1.2 * dadez::ifc67::kI1 * theta / beta;
    return WalkToRoot(dadez::Psi3<Jet>, theta, beta, start, -1, 1.08);
}

double STM_inv_x_beta4(double theta, double beta) {
    if (!(theta > 0.0 && beta > 0.0)) {
        return -1.0;
    }
    // Start on the compressed side of the liquid root.
    return WalkToRoot(dadez::Psi4<Jet>, theta, beta, 0.35, +1, 1.08);
}

} // extern "C"
