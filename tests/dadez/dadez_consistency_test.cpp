// The formulation's own consistency: liquid and vapour Gibbs energies on the saturation line,
// the Clapeyron equation, the reference state, joins between neighbouring subregions, and the
// derivative relations between the properties Dadez returns.

#include "dadez/dadez.h"
#include "tests/dadez/reduced_state.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dadez_test {
namespace {

// Temperatures along the saturation line, triple point to just below the critical point.
std::vector<double> SaturationTemperatures() {
    std::vector<double> t;
    for (double tK = 273.16; tK < 647.0; tK += 7.5) {
        t.push_back(tK);
    }
    t.push_back(647.0);
    return t;
}

TEST(DadezConsistency, GibbsEnergiesOfLiquidAndVapourAgreeOnTheSaturationLine) {
    // IFC-67 defines saturation by its K line, not by equal Gibbs energies; the liquid and vapour
    // equations agree with it to the formulation's accuracy, about 0.15 kJ/kg.
    double worst = 0.0;
    for (const double tK : SaturationTemperatures()) {
        const SiState liquid = Saturated(tK, true);
        const SiState vapour = Saturated(tK, false);
        const double dg = (liquid.h - tK * liquid.s) - (vapour.h - tK * vapour.s);
        EXPECT_LT(std::fabs(dg), 0.15) << "T=" << tK << " K";
        // Relative to the latent-heat scale the mismatch is small everywhere.
        EXPECT_LT(std::fabs(dg) / (vapour.h - liquid.h), 2e-4) << "T=" << tK << " K";
        worst = std::max(worst, std::fabs(dg));
    }
    RecordProperty("largest_gibbs_mismatch_kJ_per_kg", std::to_string(worst));
}

TEST(DadezConsistency, ClapeyronSlopeMatchesTheSaturationLineBelow350C) {
    for (double tK = 280.0; tK <= 620.0; tK += 20.0) {
        const double theta = tK / STM_GetCriticalTempK();
        const double dTheta = 1e-6;
        const double slopeK =
            (STM_beta_K(theta + dTheta) - STM_beta_K(theta - dTheta)) / (2.0 * dTheta);
        const SiState liquid = Saturated(tK, true);
        const SiState vapour = Saturated(tK, false);
        // dp/dT = Δh/(T Δv), in reduced form dβ/dθ = Δε/(θ Δχ).
        const double slopeEquations =
            (vapour.epsilon - liquid.epsilon) / (theta * (vapour.chi - liquid.chi));
        EXPECT_NEAR(slopeEquations / slopeK, 1.0, 0.004) << "T=" << tK << " K";
    }
}

TEST(DadezConsistency, SaturatedLiquidAtTheTriplePointIsTheReferenceState) {
    const SiState liquid = Saturated(273.16, true);
    const double pKPa =
        STM_beta_K(273.16 / STM_GetCriticalTempK()) * STM_GetCriticalPressPa() / 1e3;
    EXPECT_NEAR(liquid.h - pKPa * liquid.v, 0.0, 1e-5); // u', kJ/kg
    EXPECT_NEAR(liquid.s, 0.0, 1e-6);                   // s', kJ/(kg K)
    // The normal boiling point: 100 °C at 0.1013253 MPa.
    EXPECT_NEAR(STM_beta_K(373.15 / STM_GetCriticalTempK()) * STM_GetCriticalPressPa(), 101325.3,
                0.05);
}

TEST(DadezConsistency, SubregionsOneAndFourJoinAt350C) {
    const double tK = 623.15;
    for (const double pMPa : {17.0, 25.0, 50.0, 75.0, 100.0}) {
        const SiState one = Evaluate(1, tK, pMPa);
        const SiState four = Evaluate(4, tK, pMPa);
        EXPECT_NEAR(four.v / one.v, 1.0, 1.3e-4) << "p=" << pMPa << " MPa";
        EXPECT_NEAR(four.h, one.h, 0.15) << "p=" << pMPa << " MPa";
    }
}

TEST(DadezConsistency, SubregionsTwoAndThreeJoinOnTheBoundaryLine) {
    for (double tK = 630.0; tK <= 860.0; tK += 20.0) {
        const double theta = tK / STM_GetCriticalTempK();
        const double beta = 15.74373327 + theta * (-34.17061978 + 19.31380707 * theta);
        const double pMPa = beta * STM_GetCriticalPressPa() / 1e6;
        EXPECT_NEAR(STM_inv_theta_beta_L(beta), theta, 1e-12);
        const SiState two = Evaluate(2, tK, pMPa);
        const SiState three = Evaluate(3, tK, pMPa);
        EXPECT_NEAR(three.v / two.v, 1.0, 5.4e-4) << "T=" << tK << " K";
        EXPECT_NEAR(three.h, two.h, 0.25) << "T=" << tK << " K";
    }
}

// φ is the θ-derivative of ε along an isobar, and σ rises by φ/θ: checked by central differences
// of the values Dadez returns, in every subregion.
TEST(DadezConsistency, HeatCapacityIsTheSlopeOfEnthalpyAndEntropy) {
    struct Case {
        int subregion;
        double tK, pMPa;
    };
    for (const Case c :
         {Case{1, 350.0, 5.0}, Case{1, 600.0, 60.0}, Case{2, 500.0, 0.5}, Case{2, 900.0, 40.0},
          Case{3, 700.0, 40.0}, Case{3, 650.0, 25.0}, Case{4, 630.0, 30.0}}) {
        const double dT = 1e-3;
        const SiState lo = Evaluate(c.subregion, c.tK - dT, c.pMPa);
        const SiState mid = Evaluate(c.subregion, c.tK, c.pMPa);
        const SiState hi = Evaluate(c.subregion, c.tK + dT, c.pMPa);
        EXPECT_NEAR((hi.h - lo.h) / (2.0 * dT) / mid.cp, 1.0, 1e-6)
            << "subregion " << c.subregion << " T=" << c.tK;
        EXPECT_NEAR(c.tK * (hi.s - lo.s) / (2.0 * dT) / mid.cp, 1.0, 1e-6)
            << "subregion " << c.subregion << " T=" << c.tK;
        // χ = ∂ζ/∂β: the Gibbs energy g = h − T s changes with p by v (subregions 1, 2).
        if (c.subregion <= 2) {
            const double dp = 1e-4 * c.pMPa;
            const SiState pl = Evaluate(c.subregion, c.tK, c.pMPa - dp);
            const SiState ph = Evaluate(c.subregion, c.tK, c.pMPa + dp);
            const double dg = (ph.h - c.tK * ph.s) - (pl.h - c.tK * pl.s); // kJ/kg
            EXPECT_NEAR(dg / (2.0 * dp * 1000.0) / mid.v, 1.0, 1e-6);
        }
    }
}

} // namespace
} // namespace dadez_test
