#pragma once

// Viscosity and thermal conductivity of the vapour and the liquid: generalized per-component
// estimates, mixing rules and dense-gas and pressure corrections. Temperatures in F,
// pressures in psia; viscosities in cP, conductivities in Btu/(h ft F). Nothing is checked:
// invalid arithmetic gives a non-finite result for the property driver to skip.

#include <span>
#include <string_view>

namespace quorvane {

// The six constants of the Yoon-Thodos estimate (32-bit values).
struct YoonThodosConstants {
    float a, b, c, d, e, f;
};
// Hydrogen and helium have their own constants, chosen by the upper-cased component name.
YoonThodosConstants YoonThodosConstantsFor(std::string_view componentName);

// The reducing groups xi of a component as Yoon-Thodos and Letsou-Stiel form them (each was
// fitted with its own constants); they depend on the component alone.
double YoonThodosReducingGroup(double tcF, double pcPsia, double molWeight);
double LetsouStielReducingGroup(double tcF, double pcPsia, double molWeight);

// Low-pressure gas viscosity (Yoon-Thodos); hydrogen and helium have their own constants,
// chosen by the upper-cased component name.
float YoonThodosViscosity(std::string_view componentName, double tempF, double tcF, double pcPsia,
                          double molWeight);
// The same from the component's constants and reducing group.
float YoonThodosViscosity(const YoonThodosConstants& constants, double reducingGroup, double tempF,
                          double tcF);
// Wilke's mixing rule; the outer sum skips components with y_i = 0.
float WilkeViscosityMixing(std::span<const float> fractions, std::span<const float> molWeights,
                           std::span<const float> viscosities);

// The factors of Wilke's phi_ij that depend on the molecular weights alone, (M_j/M_i)^(1/4) and
// sqrt(8·(1 + M_i/M_j)), for every ordered pair (row i, column j of an n x n table).
struct WilkePairs {
    std::span<const double> weightRoot;
    std::span<const double> weightScale;
};
void FillWilkePairs(std::span<const float> molWeights, std::span<double> weightRoot,
                    std::span<double> weightScale);
// Wilke's mixing rule with those factors worked out beforehand.
float WilkeViscosityMixing(std::span<const float> fractions, const WilkePairs& pairs,
                           std::span<const float> viscosities);
// Dean-Stiel dense-gas viscosity increment at reduced density rhoR = Vc * rho.
float DeanStielIncrement(double rhoR, double tcF, double pcPsia, double molWeight);

// Saturated-liquid viscosity (Letsou-Stiel), floored at 1e-7 cP.
float LetsouStielViscosity(double tempF, double tcF, double pcPsia, double w, double molWeight);
// The same from the component's reducing group.
float LetsouStielViscosity(double reducingGroup, double tempF, double tcF, double w);
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
// Its two factors that depend on the component alone: 1.1053152/M^(1/2) and the boiling-point
// term 3 + 20·(1 − Tbr)^(2/3).
struct SatoRiedelConstants {
    double scale;
    double boiling;
};
SatoRiedelConstants SatoRiedelConstantsOf(double tcF, double tbF, double molWeight);
float SatoRiedelConductivity(const SatoRiedelConstants& constants, double tempF, double tcF);
// Pressure factor of the liquid conductivity at reduced temperature and pressure.
float LiquidConductivityPressureFactor(double tr, double pr);

} // namespace quorvane
