// The gathered isotherm coefficients of subregions 3 and 4 against the fundamental equations
// themselves: β = −ψ_χ and ∂β/∂χ = −ψ_χχ from the differentiated ψ3 and ψ4.

#include "dadez/fundamental.h"
#include "dadez/isotherm.h"

#include <cmath>
#include <gtest/gtest.h>

namespace dadez_test {
namespace {

TEST(DadezIsotherm, MatchesTheDifferentiatedHelmholtzEnergy) {
    for (double theta = 0.9627; theta <= 1.34; theta += 0.0173) {
        const dadez::Isotherm iso3 = dadez::Isotherm::Subregion3(theta);
        const dadez::Isotherm iso4 = dadez::Isotherm::Subregion4(theta);
        for (double chi = 0.35; chi <= 6.0; chi *= 1.17) {
            const dadez::Jet f3 = dadez::Psi3(dadez::Jet(theta), dadez::Jet::VarY(chi));
            const dadez::Jet f4 = dadez::Psi4(dadez::Jet(theta), dadez::Jet::VarY(chi));
            const dadez::Isotherm::Point p3 = iso3.At(chi);
            const dadez::Isotherm::Point p4 = iso4.At(chi);
            const double scale = 1.0 + std::fabs(f3.dy);
            EXPECT_NEAR(p3.beta, -f3.dy, 1e-12 * scale) << theta << " " << chi;
            EXPECT_NEAR(p3.slope, -f3.dyy, 1e-11 * (1.0 + std::fabs(f3.dyy)));
            EXPECT_NEAR(p4.beta, -f4.dy, 1e-12 * (1.0 + std::fabs(f4.dy))) << theta << " " << chi;
            EXPECT_NEAR(p4.slope, -f4.dyy, 1e-11 * (1.0 + std::fabs(f4.dyy)));
        }
    }
}

} // namespace
} // namespace dadez_test
