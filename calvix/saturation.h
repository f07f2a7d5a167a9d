#pragma once

// Region 4: the saturation line, and the boundary line between regions 2 and 3 (B23).
// Neither equation checks its range; the callers do.

namespace calvix {

// Saturation pressure (MPa) at T (K). NaN at the pole T = n₁₀ of the equation.
double SaturationPressure(double tK);
// Saturation temperature (K) at p (MPa).
double SaturationTemperature(double pMPa);

// B23: pressure (MPa) on the boundary at T (K), and temperature (K) at p (MPa).
double B23Pressure(double tK);
double B23Temperature(double pMPa);

} // namespace calvix
