#pragma once

// Shared steps of the property exports: reading arguments into reduced variables with their
// range checks, and converting reduced results back into the current units.

namespace dornel {

// θ from a temperature in the current unit, required within [θmin, θmax] and outside the band
// 0.99999998 < θ < 1.00000002 around the critical temperature; else reports 272 under `name`.
double SinglePhaseTheta(double t, const char* name);
// θ from a temperature, required within [θmin, 0.99999999] (saturation states).
double SaturationTheta(double t, const char* name);
// β from a pressure, required within [βmin, βmax].
double SinglePhaseBeta(double p, const char* name);
// β from a pressure, required within [βK,min, 0.99999999] (saturation states).
double SaturationBeta(double p, const char* name);
// Wetness from the wetness-or-dryness argument, required within [0, 1].
double Wetness(double w, const char* name);

// Reduced results to the current units.
double OutEnthalpy(double epsilon);
double OutEntropy(double sigma);
double OutVolume(double chi);
double OutHeatCapacity(double phi);
double OutTemperature(double theta);
double OutPressure(double beta);

// Highest θ counted as a saturation state.
constexpr double kSaturationThetaLimit = 0.99999999;
constexpr double kSaturationBetaLimit = 0.99999999;

} // namespace dornel
