#pragma once

// Pure-component correlations and simple mixing rules of the mixture properties: pseudo-
// critical constants, densities, ideal-gas heat capacity, enthalpy and entropy, heat of
// vaporization, liquid heat capacity, vapour pressure and surface tension.
//
// Inputs are in internal units (F, psia, ft3/lb-mol, lb/lb-mol); results are 32-bit values in
// the unit named per function. Arithmetic is 64-bit. Nothing is checked: an invalid argument
// gives a non-finite result, which the property driver treats as a failed statement.

#include "engine/properties/coefficient_set.h"

#include <span>

namespace quorvane {

// Sum of x_i * p_i over the entries of the fractions array.
float MolarAverage(std::span<const float> fractions, std::span<const float> values);
float MolarAverage(std::span<const float> fractions, std::span<const double> values);

// Volume-fraction (Li) rule for the pseudo-critical temperature, F.
float PseudoCriticalTemperature(std::span<const float> fractions, std::span<const float> tcF,
                                std::span<const float> vc);
// Pc = R * sum(x Zc) * sum(x Tc_R) / sum(x Vc), psia.
float PseudoCriticalPressure(std::span<const float> fractions, std::span<const float> vc,
                             std::span<const float> tcF, std::span<const float> zc);

// P / (Z R T), lb-mol/ft3; exactly 0 when Z is 0.
float VapourMolarDensity(double z, double tempF, double pressPsia);

// Molar density of a two-phase stream of vapour fraction v: the molar volumes add,
// 1/rho = v/rhoV + (1 - v)/rhoL; exactly rhoL at v = 0 and rhoV at v = 1. A phase of zero
// density inside 0 < v < 1 makes the division fail (non-finite result).
float TwoPhaseMolarDensity(double v, double rhoVapour, double rhoLiquid);

// Liquid density from a code-4 or code-7 set, lb-mol/ft3.
float LiquidDensityCorrelation(const CoefficientSet& set, double tempF);
// Rackett compressibility Z_RA = 0.29056 - 0.08775 w.
float RackettCompressibility(double w);
// Rackett saturated-liquid density, lb-mol/ft3.
float RackettDensity(double tempF, double zra, double pcPsia, double tcF);
// Spencer-Danner mixture form of the Rackett density, lb-mol/ft3; Tr is capped below 1.
float MixtureRackettDensity(std::span<const float> fractions, std::span<const float> tcF,
                            std::span<const float> pcPsia, std::span<const float> vc,
                            std::span<const float> zra, double tempF);

// The pair terms of the mixture Rackett rule that depend on the components alone, 1 − k_ij and
// sqrt(Tc_i·Tc_j) (°R), for every ordered pair (row i, column j of an n x n table).
struct RackettPairs {
    std::span<const double> oneMinusK;
    std::span<const double> sqrtTc;
};
void FillRackettPairs(std::span<const float> tcF, std::span<const float> vc,
                      std::span<double> oneMinusK, std::span<double> sqrtTc);
// The mixture Rackett density with those terms worked out beforehand.
float MixtureRackettDensity(std::span<const float> fractions, std::span<const float> tcF,
                            std::span<const float> pcPsia, std::span<const float> vc,
                            std::span<const float> zra, double tempF, const RackettPairs& pairs);

// Heat capacity from a code-2 or code-7 set at T, Btu/(lb-mol R). No range test.
float HeatCapacityCorrelation(const CoefficientSet& set, double tempF);
// Liquid heat capacity from its set with T clamped into the set's range.
float ClampedLiquidHeatCapacity(const CoefficientSet& set, double tempF);
// Ideal-gas enthalpy relative to 298.15 K, Btu/lb-mol.
float IdealGasEnthalpy(const CoefficientSet& set, double tempF);
// Ideal-gas entropy relative to 298.15 K (same pressure), Btu/(lb-mol R).
float IdealGasEntropy(const CoefficientSet& set, double tempF);

// The ideal-gas heat-capacity set with the terms of its code-2 form at 298.15 K worked out.
struct IdealGasSet {
    PreparedSet prepared;
    double cothX0 = 0.0;   // Coth(C/T0)
    double tanhY0 = 0.0;   // Tanh(E/T0)
    double x0CothX0 = 0.0; // (C/T0)·Coth(C/T0)
    double sinhX0 = 0.0;   // Sinh(C/T0)
    double y0TanhY0 = 0.0; // (E/T0)·Tanh(E/T0)
    double coshY0 = 0.0;   // Cosh(E/T0)
};
IdealGasSet PrepareIdealGasSet(const CoefficientSet& set);

// Heat capacity, enthalpy and entropy of an ideal-gas set at T (K), as HeatCapacityCorrelation,
// IdealGasEnthalpy and IdealGasEntropy give them, from one exponential of each hyperbolic
// argument; logTOverT0 is ln(T/298.15), which every component shares.
struct IdealGasValues {
    float cp = 0.0F;
    float h = 0.0F;
    float s = 0.0F;
};
IdealGasValues EvaluateIdealGas(const IdealGasSet& set, double tempK, double logTOverT0);

// Heat of vaporization at T from a code-3 or code-7 set, Btu/lb-mol.
float HeatOfVaporizationCorrelation(const CoefficientSet& set, double tempF, double tcF);
// Vetere's heat of vaporization at the normal boiling point, Btu/lb-mol.
float VetereHeatOfVaporization(double tbF, double tcF, double pcPsia);
// Watson's relation carrying a boiling-point heat of vaporization to T (T above Tc is taken
// as Tc - 1 F), Btu/lb-mol.
float WatsonHeatOfVaporization(double hvbBtu, double tempF, double tbF, double tcF);

// Rowlinson-Bondi liquid heat capacity less the ideal-gas value, Btu/(lb-mol R).
float RowlinsonBondiResidual(double tempF, double tcF, double w);

// Vapour pressure from a code-6 or code-7 set, psia.
float VapourPressureCorrelation(const CoefficientSet& set, double tempF);

// Surface tension from a code-3 or code-7 set, N/m.
float SurfaceTensionCorrelation(const CoefficientSet& set, double tempF, double tcF);
// Brock-Bird surface tension (meaningful below Tc), N/m.
float BrockBirdSurfaceTension(double tempF, double tbF, double tcF, double pcPsia);
// Its factor that depends on the component alone, 4.6e-7·Pc^(2/3)·Tc^(1/3)·Q, and the estimate
// from it.
double BrockBirdScale(double tbF, double tcF, double pcPsia);
float BrockBirdSurfaceTension(double scale, double tempF, double tcF);

} // namespace quorvane
