#pragma once

// Residual (departure) properties of one phase from the cubic equation of state: enthalpy and
// entropy relative to the ideal gas at the same T and P, and the derived properties that
// combine the ideal-gas heat capacity with the equation's pressure derivatives (Cp, Cv, their
// ratio, the Joule-Thomson coefficient and the speed of sound).
//
// Pure functions; 64-bit arithmetic. Nothing is checked: a non-physical root (Z <= B), an
// empty composition or a negative square-root argument gives a non-finite result.

#include "engine/eos/component_constants.h"
#include "engine/eos/eos_choice.h"
#include "engine/eos/eos_parameters.h"
#include "engine/eos/phase_fugacity.h"

#include <array>
#include <limits>
#include <span>

namespace quorvane {

// The phase whose departures are wanted: its composition, its compressibility factor, the
// state and the mixture's critical data (Tc in F, Pc in psia).
struct PhaseCondition {
    EosEquation equation = EosEquation::PR;
    EosVariant variant = EosVariant::Original;
    float tempF = 0.0F;
    float pressPsia = 0.0F;
    std::span<const float> x;
    double z = 1.0;
    std::span<const float> tcF;
    std::span<const float> pcPsia;
    std::span<const float> w;
    KijView kij; // ignored by RK
};

// H - H(ideal gas), Btu/lb-mol.
double EnthalpyDeparture(const PhaseCondition& phase);
// S - S(ideal gas, same T and P), Btu/(lb-mol R).
double EntropyDeparture(const PhaseCondition& phase);

// The five derived properties, each held as a 32-bit value as it is produced. They are
// computed in order; `written` counts the ones that came out finite before the first failure
// (the later ones are not produced, just as a failing statement ends the operation).
struct DerivedPropertyValues {
    float cp = 0.0F;           // Btu/(lb-mol R)
    float cv = 0.0F;           // Btu/(lb-mol R)
    float cpCv = 0.0F;         // Cp/Cv
    float jouleThomson = 0.0F; // R/psia
    float soundSpeed = 0.0F;   // ft/s
    double residualCp = 0.0;   // Cp - Cp(ideal gas), Btu/(lb-mol R), valid when written >= 1
    int written = 0;
};

// Derived properties of the phase from its ideal-gas heat capacity (Btu/(lb-mol R)) and
// molecular weight. a(T) and its temperature derivatives follow the phase's variant (its slope
// m), as the enthalpy and entropy departures do, so Cp is the temperature derivative of H. The
// slope is held fixed in the derivatives (SRK-78 makes m depend on T for an acentric factor of
// exactly 0; that dependence is left out).
DerivedPropertyValues DerivedProperties(const PhaseCondition& phase, double idealGasCp,
                                        double molWeight);

// What the phases at one temperature share of a(T): each component's b_i, sqrt(a_i), its
// temperature derivative, the slope m_i and sqrt(T·Tc_i), with sqrt(Pc_i·Pc_j) of every pair
// (n x n, row i). Worked out once per state, mixed once per phase.
struct ComponentAttraction {
    EosEquation equation = EosEquation::Unknown;
    float tR = 0.0F;
    std::size_t n = 0;
    std::array<double, kMaxComponents> b{};
    std::array<double, kMaxComponents> sqrtA{};
    std::array<double, kMaxComponents> dSqrtA{};
    std::array<double, kMaxComponents> m{};
    std::array<double, kMaxComponents> tcR{};
    std::array<double, kMaxComponents> sqrtTTc{};
    std::span<const double> sqrtPcPairs;
};
ComponentAttraction AttractionTermsAt(std::span<const EosComponentConstants> eos,
                                      std::span<const double> sqrtPcPairs, float tR);

// Every departure of one phase at once, equal to EnthalpyDeparture, EntropyDeparture and
// DerivedProperties of the same phase (whose temperature, equation and components the terms
// must describe); not finite when they do not.
struct PhaseDepartures {
    double enthalpy = std::numeric_limits<double>::quiet_NaN();
    double entropy = std::numeric_limits<double>::quiet_NaN();
    DerivedPropertyValues derived;
};
PhaseDepartures DeparturesOf(const ComponentAttraction& terms, const PhaseCondition& phase,
                             double idealGasCp, double molWeight);

// The closed forms shared by the SRK and PR departures, in terms of the reduced groups A, B
// and D/a with D = -T da/dT. `equation` picks the SRK (also valid for RK with D/a = 1/2) or
// the PR form.
double CubicEnthalpyDeparture(EosEquation equation, double tR, double z, double bigA, double bigB,
                              double dOverA);
double CubicEntropyDeparture(EosEquation equation, double z, double bigA, double bigB,
                             double dOverA);

} // namespace quorvane
