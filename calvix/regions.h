#pragma once

// The basic equations of regions 1, 2, 3 and 5 and their property relations, in internal
// units: T in K, p in MPa, ρ in kg/m³, v in m³/kg, h in kJ/kg, s, cp, cv in kJ/(kg K),
// w in m/s, κ dimensionless.

#include <array>

namespace calvix {

struct Properties {
    double p = 0.0;     // pressure, MPa (the input for regions 1, 2, 5; computed in region 3)
    double v = 0.0;     // specific volume
    double h = 0.0;     // specific enthalpy
    double s = 0.0;     // specific entropy
    double cp = 0.0;    // isobaric heat capacity
    double cv = 0.0;    // isochoric heat capacity
    double w = 0.0;     // speed of sound
    double kappa = 0.0; // isentropic exponent w²/(p v)
};

// Gibbs free energy equations, functions of (T, p).
Properties Region1(double tK, double pMPa);
Properties Region2(double tK, double pMPa);
Properties Region5(double tK, double pMPa);

// Helmholtz free energy equation, a function of (ρ, T).
Properties Region3(double rho, double tK);
// Pressure alone, for the density searches.
double Region3Pressure(double rho, double tK);
// (∂p/∂v) at constant T, MPa·kg/m³; its sign locates the spinodals.
double Region3DpDv(double v, double tK);

// Region 3 along one isotherm: the powers of τ are taken once, so the density searches,
// which evaluate many densities at one temperature, take only the powers of δ per call.
class Region3Isotherm {
public:
    explicit Region3Isotherm(double tK);
    double Pressure(double rho) const;
    double DpDv(double v) const;

private:
    double m_tK;
    std::array<double, 39> m_tauPowers;
};

} // namespace calvix
