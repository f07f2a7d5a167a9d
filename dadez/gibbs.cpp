// Properties of subregions 1 and 2 from the reduced Gibbs energy ζ(θ, β):
// χ = ζ_β, σ = −ζ_θ, ε = ζ − θ ζ_θ, φ = −θ ζ_θθ.

#include "dadez/dadez.h"
#include "dadez/fundamental.h"

namespace {

using dadez::Dual;
using dadez::Jet1;

template <class T>
using Gibbs = T (*)(const T&, const T&);

Dual FirstOrder(Gibbs<Dual> zeta, double theta, double beta) {
    return zeta(Dual::VarX(theta), Dual::VarY(beta));
}

double Enthalpy(Gibbs<Dual> zeta, double theta, double beta) {
    const Dual z = FirstOrder(zeta, theta, beta);
    return z.v - theta * z.dx;
}

double HeatCapacity(Gibbs<Jet1> zeta, double theta, double beta) {
    // β enters as a constant: only ζ_θθ is needed.
    return -theta * zeta(Jet1::VarX(theta), Jet1(beta)).dxx;
}

} // namespace

extern "C" {

double STM_e1_enthalpy(double theta, double beta) {
    return Enthalpy(dadez::Zeta1<Dual>, theta, beta);
}
double STM_e2_enthalpy(double theta, double beta) {
    return Enthalpy(dadez::Zeta2<Dual>, theta, beta);
}

double STM_sigma1_entropy(double theta, double beta) {
    return -dadez::Zeta1(Dual::VarX(theta), Dual(beta)).dx;
}
double STM_sigma2_entropy(double theta, double beta) {
    return -dadez::Zeta2(Dual::VarX(theta), Dual(beta)).dx;
}

double STM_x1_volume(double theta, double beta) {
    return dadez::Zeta1(Dual(theta), Dual::VarY(beta)).dy;
}
double STM_x2_volume(double theta, double beta) {
    return dadez::Zeta2(Dual(theta), Dual::VarY(beta)).dy;
}

double STM_iso_heat_cap1(double theta, double beta) {
    return HeatCapacity(dadez::Zeta1<Jet1>, theta, beta);
}
double STM_iso_heat_cap2(double theta, double beta) {
    return HeatCapacity(dadez::Zeta2<Jet1>, theta, beta);
}

} // extern "C"
