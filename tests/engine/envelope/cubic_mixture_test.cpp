#include "engine/envelope/cubic_mixture.h"
#include "engine/eos/phase_fugacity.h"
#include "tests/engine/flash/component_table.h"

#include <cmath>
#include <gtest/gtest.h>

namespace quorvane::envelope {
namespace {

// The 64-bit model against the flash routines' evaluator, and its analytic derivatives against
// central differences of its own ln φ: a slip in any of the Helmholtz-energy derivatives shows
// as a mismatch here, whatever the equation.
class CubicMixtureTest : public ::testing::Test {
protected:
    static constexpr const char* kEos[] = {"RK", "SRK", "SRK-78 (API)", "PR", "PR-78"};

    void BindCase(const FlashCase& c) { model.Bind(c.Eos(), c.tcF, c.pcPsia, c.w, c.kij.View()); }

    CubicMixture model;
    PhaseResult r, up, down;
};

TEST_F(CubicMixtureTest, FugacityCoefficientsMatchTheFlashEvaluator) {
    for (const char* eos : kEos) {
        FlashCase c = testdata::NaturalGas(eos);
        c.kij(1, 2) = c.kij(2, 1) = 0.1F;
        BindCase(c);
        PhaseFugacity flash;
        flash.Bind(EosChoiceFromText(eos), c.tcF, c.pcPsia, c.w, c.kij.View());
        CubicState cubic;
        // The model takes mole numbers and normalises them; the flash evaluator takes the
        // fractions as they are.
        std::vector<double> x(c.z.begin(), c.z.end());
        double sum = 0.0;
        for (double v : x) {
            sum += v;
        }
        for (double& v : x) {
            v /= sum;
        }
        for (const Phase phase : {Phase::Vapour, Phase::Liquid}) {
            std::vector<double> lnPhi(x.size());
            const float z =
                flash.EvaluateLog(phase, -100.0F, 500.0F, std::span<const double>(x), lnPhi, cubic);
            // The flash evaluator holds T in °R as a 32-bit value: the same temperature here.
            model.Evaluate(RankineOf(-100.0F), 500.0, x,
                           phase == Phase::Vapour ? Root::Vapour : Root::Liquid, kLnPhiOnly, r);
            EXPECT_NEAR(r.z, z, 1e-6 * z) << eos;
            for (std::size_t i = 0; i < x.size(); ++i) {
                EXPECT_NEAR(r.lnPhi[i], lnPhi[i], 1e-11) << eos << " component " << i;
            }
        }
    }
}

TEST_F(CubicMixtureTest, AnalyticDerivativesAgreeWithDifferences) {
    for (const char* eos : kEos) {
        FlashCase c = testdata::MakeCase({"METHANE", "CARBON DIOXIDE", "n-HEXANE", "ARGON"},
                                         {0.5F, 0.2F, 0.25F, 0.05F}, eos);
        c.kij(0, 1) = c.kij(1, 0) = 0.09F;
        c.w[3] = 0.0F; // the SRK-78 form whose slope m depends on T
        BindCase(c);
        std::vector<double> n = {0.5, 0.2, 0.25, 0.05};
        for (const Root root : {Root::Vapour, Root::Liquid}) {
            const double t = 320.0;
            const double p = 700.0;
            model.Evaluate(t, p, n, root, kTemperature | kPressure | kComposition, r);
            const double h = 1e-4;
            model.Evaluate(t + h, p, n, root, kLnPhiOnly, up);
            model.Evaluate(t - h, p, n, root, kLnPhiOnly, down);
            for (int i = 0; i < 4; ++i) {
                EXPECT_NEAR(r.dLnPhiDT[i], (up.lnPhi[i] - down.lnPhi[i]) / (2 * h),
                            1e-6 * (1 + std::fabs(r.dLnPhiDT[i])))
                    << eos;
            }
            model.Evaluate(t, p + h, n, root, kLnPhiOnly, up);
            model.Evaluate(t, p - h, n, root, kLnPhiOnly, down);
            for (int i = 0; i < 4; ++i) {
                EXPECT_NEAR(r.dLnPhiDP[i], (up.lnPhi[i] - down.lnPhi[i]) / (2 * h),
                            1e-7 * (1 + std::fabs(r.dLnPhiDP[i])))
                    << eos;
            }
            for (int j = 0; j < 4; ++j) {
                std::vector<double> nu = n;
                std::vector<double> nd = n;
                nu[j] += h;
                nd[j] -= h;
                model.Evaluate(t, p, nu, root, kLnPhiOnly, up);
                model.Evaluate(t, p, nd, root, kLnPhiOnly, down);
                for (int i = 0; i < 4; ++i) {
                    EXPECT_NEAR(r.nDLnPhiDn[i][j], (up.lnPhi[i] - down.lnPhi[i]) / (2 * h),
                                1e-6 * (1 + std::fabs(r.nDLnPhiDn[i][j])))
                        << eos << " " << i << "," << j;
                }
            }
        }
    }
}

} // namespace
} // namespace quorvane::envelope
