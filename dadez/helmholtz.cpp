// Properties of subregions 3 and 4 from the reduced Helmholtz energy ψ(θ, χ):
// β = −ψ_χ, σ = −ψ_θ, ε = ψ − θ ψ_θ − χ ψ_χ, φ = −θ ψ_θθ + θ ψ_θχ² / ψ_χχ;
// and χ from (θ, β) by solving β = −ψ_χ on the liquid or vapour branch.

#include "dadez/dadez.h"
#include "dadez/fundamental.h"
#include "dadez/isotherm.h"
#include "dadez/newton.h"

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

// Pressure misfit β(θ, χ) − target and its slope ∂β/∂χ along one isotherm.
struct Misfit {
    double value;
    double slope;
};

Misfit Evaluate(const dadez::Isotherm& iso, double chi, double target) {
    const dadez::Isotherm::Point p = iso.At(chi);
    return {p.beta - target, p.slope};
}

constexpr int kMaxSteps = 200;
constexpr double kTolerance = 1e-14;

// Root of the misfit inside [low, high], where it is positive at low and negative at high:
// Newton's method, falling back to bisection whenever a step would leave the bracket.
double SolveInBracket(const dadez::Isotherm& iso, double target, double low, double high) {
    const auto misfit = [&iso, target](double chi) {
        const Misfit m = Evaluate(iso, chi, target);
        return dadez::NewtonPoint{m.value, m.slope};
    };
    return dadez::SolveBracketed(misfit, 0.5 * (low + high), low, high, false, kTolerance);
}

// Walks from start towards the root in the given direction (+1 towards larger χ on the liquid
// branch, −1 towards smaller χ on the vapour branch), each step a Newton step limited to the
// factor `maxFactor`, until the misfit changes sign; then solves inside that bracket. The first
// sign change met is the root nearest the start whose slope ∂β/∂χ is negative.
double WalkToRoot(const dadez::Isotherm& iso, double target, double start, int direction,
                  double maxFactor) {
    double chi = start;
    Misfit m = Evaluate(iso, chi, target);
    // The start must lie on the outer side of the root: misfit > 0 left of the liquid root,
    // < 0 right of the vapour root.
    for (int step = 0; step < 60 && (direction * m.value <= 0.0 || !std::isfinite(m.value));
         ++step) {
        chi = direction > 0 ? chi / 1.25 : chi * 1.25;
        m = Evaluate(iso, chi, target);
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
        const Misfit n = Evaluate(iso, next, target);
        if (!std::isfinite(n.value)) {
            return -1.0;
        }
        if (n.value == 0.0) {
            return next;
        }
        if (direction * n.value < 0.0) {
            return direction > 0 ? SolveInBracket(iso, target, chi, next)
                                 : SolveInBracket(iso, target, next, chi);
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
    // Below and just above the critical temperature the isotherms have loops, so the walk takes
    // short steps there; well above it they fall monotonically and longer steps are safe.
    const double maxFactor = theta < 1.05 ? 1.08 : 1.5;
    return WalkToRoot(dadez::Isotherm::Subregion3(theta), beta, start, -1, maxFactor);
}

double STM_inv_x_beta4(double theta, double beta) {
    if (!(theta > 0.0 && beta > 0.0)) {
        return -1.0;
    }
    // Start on the compressed side of the liquid root.
    return WalkToRoot(dadez::Isotherm::Subregion4(theta), beta, 0.35, +1, 1.08);
}

} // extern "C"
