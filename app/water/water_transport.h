#pragma once

// Transport properties of water computed by the program itself for the water/steam calculator,
// from temperature (°F) and molar density (lbmol/ft³): the industrial correlations for viscosity
// and thermal conductivity of water and steam, and the surface tension of water against its
// vapour. NaN where a correlation has no value.

namespace quorvane {

// Dynamic viscosity, cP.
double WaterViscosity(double tempF, double densLbmolPerFt3);
// Thermal conductivity, Btu/(h ft °F).
double WaterConductivity(double tempF, double densLbmolPerFt3);
// Surface tension, N/m, from 0 °C to the critical temperature (373.946 °C); NaN outside.
double WaterSurfaceTension(double tempF);

} // namespace quorvane
