#pragma once

#include "engine/eos/eos_choice.h"

#include <span>

// Pure-component and mixture parameters of the cubic equations of state, and the reduced
// groups A and B. Temperatures in °R, pressures in psia, the gas constant in
// psia·ft³/(lb-mol·°R). Inputs are the 32-bit values the mixture holds; every result is 64-bit.

namespace quorvane {

inline constexpr double kGasConstant = 10.731641; // psia·ft³/(lb-mol·°R)
// Ω_a of the attraction parameter: RK and SRK, and PR.
inline constexpr double kOmegaARk = 0.42748;
inline constexpr double kOmegaAPr = 0.457235;
inline constexpr double kRankineOffset = 459.67; // °R = °F + 459.67 inside the engine

// Read-only view of an interaction-parameter table: kij(i, j) = data[i * stride + j].
struct KijView {
    const float* data = nullptr;
    int stride = 0;
    float operator()(int i, int j) const { return data[i * stride + j]; }
};

// °F -> °R, rounded to 32-bit storage as the engine holds it.
float RankineOf(float tempF);

// b_i (ft³/lb-mol). RK and SRK: 0.08664·R·Tc/Pc, PR: 0.077796·R·Tc/Pc. Unknown equation: 0.
double ComponentBParameter(EosEquation equation, float tcR, float pcPsia);

// The slope m of the SRK and PR temperature function α = (1 + m·(1 − sqrt(T/Tc)))².
// For RK (no α) and an unknown equation: 0.
double AlphaSlope(EosEquation equation, EosVariant variant, float w, float tR, float tcR);

// α of SRK and PR at T; 1 for RK.
double AlphaFunction(EosEquation equation, EosVariant variant, float w, float tR, float tcR);

// α at a 64-bit temperature (°R) and its derivative dα/dT (1/°R), for the solvers that work
// below the rounding of 32-bit storage; 1 and 0 for RK. Equal to AlphaFunction where the
// temperature is a 32-bit value.
double AlphaWithDerivative(EosEquation equation, EosVariant variant, float w, double tR, float tcR,
                           double& dAlphaDT);

// a_i. RK: 0.42748·R²·Tc^2.5/Pc (temperature-free; T enters through A). SRK and PR include α.
double ComponentAParameter(EosEquation equation, float tcR, float pcPsia, float tR, float w,
                           EosVariant variant);

// b = Σ x_i·b_i.
double MixtureBParameter(EosEquation equation, std::span<const float> tcR,
                         std::span<const float> pcPsia, std::span<const float> x);

// a = Σ_i Σ_j x_i·x_j·sqrt(a_i·a_j)·(1 − kij(i, j)); RK applies no kij (the overload without
// kij is the RK form, and the RK equation ignores a kij passed to the other overload).
double MixtureAParameter(EosEquation equation, std::span<const float> tcR,
                         std::span<const float> pcPsia, std::span<const float> w,
                         std::span<const float> x, float tR, EosVariant variant, KijView kij);
double MixtureAParameter(EosEquation equation, std::span<const float> tcR,
                         std::span<const float> pcPsia, std::span<const float> x);

// A = a·P/(R²·T^2.5) for RK, a·P/(R·T)² for SRK and PR.
double ReducedA(EosEquation equation, double a, float pPsia, float tR);
// B = b·P/(R·T).
double ReducedB(double b, float pPsia, float tR);

} // namespace quorvane
