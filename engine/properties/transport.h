#pragma once

// Viscosity and thermal conductivity of the vapour and the liquid: generalized per-component
// estimates, mixing rules and dense-gas and pressure corrections. Temperatures in F,
// pressures in psia; viscosities in cP, conductivities in Btu/(h ft F). Nothing is checked:
// invalid arithmetic gives a non-finite result for the property driver to skip.

#include <span>
#include <string_view>

namespace quorvane {

// Low-pressure gas viscosity (Yoon-Thodos); hydrogen and helium have their own constants,
// chosen by the upper-cased component name.
float YoonThodosViscosity(std::string_view componentName, double tempF, double tcF, double pcPsia,
                          double molWeight);
// Wilke's mixing rule; the outer sum skips components with y_i = 0.
float WilkeViscosityMixing(std::span<const float> fractions, std::span<const float> molWeights,
                           std::span<const float> viscosities);
// Dean-Stiel dense-gas viscosity increment at reduced density rhoR = Vc * rho.
float DeanStielIncrement(double rhoR, double tcF, double pcPsia, double molWeight);

// Saturated-liquid viscosity (Letsou-Stiel), floored at 1e-7 cP.
float LetsouStielViscosity(double tempF, double tcF, double pcPsia, double w, double molWeight);
// Lucas's ratio of the liquid viscosity at P to that at saturation.
float LucasPressureRatio(double tempF, double tcF, double pressPsia, double pvpPsia, double pcPsia,
                         double w);
// exp(sum w_i ln v_i).
float LogMeanMixing(std::span<const float> weights, std::span<const float> values);

// Modified Eucken low-pressure gas conductivity from Cp (Btu/(lb-mol R)) and viscosity (cP).
float EuckenConductivity(double idealGasCp, double viscosityCp, double molWeight);
// Stiel-Thodos dense-gas conductivity increment at reduced density rhoR.
float StielThodosIncrement(double rhoR, double tcF, double pcPsia, double molWeight, double zc);

// Sato-Riedel liquid conductivity (meaningful below Tc).
float SatoRiedelConductivity(double tempF, double tcF, double tbF, double molWeight);
// Pressure factor of the liquid conductivity at reduced temperature and pressure.
float LiquidConductivityPressureFactor(double tr, double pr);

} // namespace quorvane
