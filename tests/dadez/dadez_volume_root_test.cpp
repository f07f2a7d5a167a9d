// The volume roots of subregions 3 and 4 against a dense scan of each isotherm: across both
// subregions the root returned is the vapour root (largest χ with ∂β/∂χ < 0) in subregion 3 and
// the liquid root (smallest such χ) in subregion 4, also where the isotherm has a loop.

#include "dadez/dadez.h"
#include "dadez/fundamental.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace dadez_test {
namespace {

// χ where β(χ) falls through the target, scanning χ from 0.38 to 6 in steps of 0.1 %.
std::vector<double> FallingCrossings(bool subregion4, double theta, double beta) {
    std::vector<double> crossings;
    double previousChi = 0.0;
    double previousMisfit = 0.0;
    for (double chi = 0.38; chi < 6.0; chi *= 1.001) {
        const dadez::Jet psi = subregion4 ? dadez::Psi4(dadez::Jet(theta), dadez::Jet::VarY(chi))
                                          : dadez::Psi3(dadez::Jet(theta), dadez::Jet::VarY(chi));
        const double misfit = -psi.dy - beta;
        if (previousChi > 0.0 && previousMisfit > 0.0 && misfit <= 0.0) {
            crossings.push_back(0.5 * (chi + previousChi));
        }
        previousChi = chi;
        previousMisfit = misfit;
    }
    return crossings;
}

TEST(DadezVolumeRoots, AgreeWithADenseScanAcrossSubregionsThreeAndFour) {
    int states = 0;
    int withLoops = 0;
    for (double tK = 623.4; tK <= 863.0; tK += 6.0) {
        for (double pMPa = 16.5; pMPa <= 100.0; pMPa += 3.5) {
            const double theta = tK / STM_GetCriticalTempK();
            const double beta = pMPa * 1e6 / STM_GetCriticalPressPa();
            const int subregion = STM_decision_subregion(theta, beta);
            if (subregion != 3 && subregion != 4) {
                continue;
            }
            ++states;
            const std::vector<double> roots = FallingCrossings(subregion == 4, theta, beta);
            ASSERT_FALSE(roots.empty()) << tK << " K, " << pMPa << " MPa";
            withLoops += roots.size() > 1 ? 1 : 0;
            const double expected = subregion == 3 ? roots.back() : roots.front();
            const double chi =
                subregion == 3 ? STM_inv_x_beta3(theta, beta) : STM_inv_x_beta4(theta, beta);
            EXPECT_NEAR(chi, expected, 1e-3 * expected) << tK << " K, " << pMPa << " MPa";
        }
    }
    EXPECT_GT(states, 300);
    RecordProperty("states_with_loops", withLoops);
}

} // namespace
} // namespace dadez_test
