#pragma once

// Backward equations T(p, h) and T(p, s) of regions 1 and 2 (direct, no iteration), and
// the B2bc boundary that separates subregions 2b and 2c for T(p, h). Units: p in MPa,
// h in kJ/kg, s in kJ/(kg K), T in K.

namespace calvix {

double BackwardT1ph(double pMPa, double h);
double BackwardT1ps(double pMPa, double s);
double BackwardT2aph(double pMPa, double h);
double BackwardT2bph(double pMPa, double h);
double BackwardT2cph(double pMPa, double h);
double BackwardT2aps(double pMPa, double s);
double BackwardT2bps(double pMPa, double s);
double BackwardT2cps(double pMPa, double s);

// B2bc: pressure on the boundary at h, and enthalpy on the boundary at p.
double B2bcPressure(double h);
double B2bcEnthalpy(double pMPa);

} // namespace calvix
