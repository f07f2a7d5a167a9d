#pragma once

// Shared steps of the property exports: reading arguments into reduced variables with their
// range checks, and converting reduced results back into the current units.

namespace dornel {

// Each of the following reads one argument and requires it inside its limits (see InsideLimits;
// a value just outside is moved onto the limit), else reports 272 under `name`.
//
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

// Whether value lies in [low, high] (low, high > 0), counting values within 1e-9 relative of a
// limit as inside: a limit reported in the user's unit and typed back differs from the limit by
// the rounding of the two conversions, which gauge units near vacuum amplify by cancellation.
bool InsideLimits(double value, double low, double high);

// Whether value lies between a and b (in either order), counting values within 1e-12 relative
// of the ends' size as inside: a computed end and a value taken through a unit conversion and
// back, or computed from temperature rather than pressure, may differ in their last bits.
bool InsideRange(double value, double a, double b);

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
