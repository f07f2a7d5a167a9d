#include "engine/eos/cubic_roots.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/fugacity.h"
#include "engine/eos/phase_fugacity.h"
#include "tests/engine/flash/component_table.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace quorvane {
namespace {

// The natural gas at 40 °F and 800 psia with a non-trivial interaction table, and two phase
// compositions near those of its flash.
class Fugacity : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        gas = testdata::NaturalGas(GetParam());
        for (int i = 0; i < gas.n; ++i) {
            for (int j = 0; j < gas.n; ++j) {
                gas.kij(i, j) = i == j ? 0.0F : 0.01F * static_cast<float>((i + j) % 5);
            }
        }
        eos = gas.Eos();
    }
    std::vector<float> Liquid() const {
        return {0.0016F, 0.0239F, 0.2945F, 0.0845F, 0.1249F,
                0.1614F, 0.1425F, 0.0807F, 0.0509F, 0.0351F};
    }
    double Reference(Phase phase, float t, float p, const std::vector<float>& x, int i, float& z) {
        return FugacityCoefficient(eos.equation, phase, t, p, gas.tcF, gas.pcPsia, gas.w, x, i,
                                   eos.variant, gas.kij.View(), z, cubic);
    }

    FlashCase gas;
    EosChoice eos;
    CubicState cubic;
};

TEST_P(Fugacity, OnePhaseEvaluationEqualsComponentByComponent) {
    PhaseFugacity fast;
    fast.Bind(eos, gas.tcF, gas.pcPsia, gas.w, gas.kij.View());
    for (const auto& x : {gas.z, Liquid()}) {
        for (const Phase phase : {Phase::Vapour, Phase::Liquid}) {
            std::vector<double> phi(x.size());
            const float zFast = fast.Evaluate(phase, 40.0F, 800.0F, x, phi, cubic);
            for (int i = 0; i < gas.n; ++i) {
                float zRef = 0.0F;
                const double ref = Reference(phase, 40.0F, 800.0F, x, i, zRef);
                EXPECT_NEAR(phi[i], ref, 1e-12 * ref) << "component " << i;
                EXPECT_EQ(zFast, zRef);
            }
        }
    }
}

// Σ x_i·ln φ_i must equal the mixture's ln φ from Z, A and B, whatever the equation.
// The same over the 25-component mixture and a grid of states, down to a liquid root close
// to B (low pressure), where ln(Z − B) magnifies any difference in the mixture parameters.
TEST_P(Fugacity, OnePhaseEvaluationEqualsComponentByComponentEverywhere) {
    FlashCase big = testdata::TwentyFive(GetParam());
    big.kij = EstimateKij(big.tcF, big.zc);
    PhaseFugacity fast;
    fast.Bind(eos, big.tcF, big.pcPsia, big.w, big.kij.View());
    for (float t : {-100.0F, 40.0F, 300.0F}) {
        for (float p : {14.7F, 800.0F, 3000.0F}) {
            for (const Phase phase : {Phase::Vapour, Phase::Liquid}) {
                std::vector<double> phi(big.z.size());
                fast.Evaluate(phase, t, p, big.z, phi, cubic);
                for (int i = 0; i < big.n; ++i) {
                    float z = 0.0F;
                    const double ref =
                        FugacityCoefficient(eos.equation, phase, t, p, big.tcF, big.pcPsia, big.w,
                                            big.z, i, eos.variant, big.kij.View(), z, cubic);
                    EXPECT_NEAR(phi[i], ref, 1e-12 * ref) << t << " °F " << p << " psia " << i;
                }
            }
        }
    }
}

TEST_P(Fugacity, ComponentCoefficientsAddUpToTheMixture) {
    const auto x = Liquid();
    for (const Phase phase : {Phase::Vapour, Phase::Liquid}) {
        double sum = 0.0;
        float z = 0.0F;
        for (int i = 0; i < gas.n; ++i) {
            sum += x[i] * std::log(Reference(phase, 40.0F, 800.0F, x, i, z));
        }
        std::vector<float> tcR;
        for (float tc : gas.tcF) {
            tcR.push_back(RankineOf(tc));
        }
        const float tR = RankineOf(40.0F);
        const double b = MixtureBParameter(eos.equation, tcR, gas.pcPsia, x);
        const double a = eos.equation == EosEquation::RK
                             ? MixtureAParameter(eos.equation, tcR, gas.pcPsia, x)
                             : MixtureAParameter(eos.equation, tcR, gas.pcPsia, gas.w, x, tR,
                                                 eos.variant, gas.kij.View());
        const double bigA = ReducedA(eos.equation, a, 800.0F, tR);
        const double bigB = ReducedB(b, 800.0F, tR);
        const RootPair roots =
            CompressibilityRoots(eos.equation, 40.0F, 800.0F, gas.tcF, gas.pcPsia, gas.w, x,
                                 eos.variant, gas.kij.View(), cubic);
        const double zz =
            (roots.liquid == kNoLiquidRoot || phase == Phase::Vapour) ? roots.vapour : roots.liquid;
        // The 32-bit fractions add up to 1 only to rounding; the ln(Z − B) term carries Σ x.
        double sumX = 0.0;
        for (float v : x) {
            sumX += v;
        }
        double mixture = zz - 1.0 - sumX * std::log(zz - bigB);
        if (eos.equation == EosEquation::PR) {
            const double s2 = std::sqrt(2.0);
            mixture -= bigA / (2.0 * s2 * bigB) *
                       std::log((zz + (1.0 + s2) * bigB) / (zz + (1.0 - s2) * bigB));
        } else {
            mixture -= bigA / bigB * std::log(1.0 + bigB / zz);
        }
        EXPECT_NEAR(sum, mixture, 1e-12);
    }
}

// ln φ_i is the mole-number derivative of n·Σ x_j·ln φ_j (central differences in 64 bits).
TEST_P(Fugacity, CoefficientsAreDerivativesOfTheMixtureGibbsEnergy) {
    PhaseFugacity fast;
    fast.Bind(eos, gas.tcF, gas.pcPsia, gas.w, gas.kij.View());
    const auto xf = Liquid();
    std::vector<double> moles(xf.begin(), xf.end());
    auto nLnPhi = [&](const std::vector<double>& n) {
        double total = 0.0;
        for (double v : n) {
            total += v;
        }
        std::vector<double> x(n.size());
        for (std::size_t i = 0; i < n.size(); ++i) {
            x[i] = n[i] / total;
        }
        std::vector<double> lnPhi(n.size());
        fast.EvaluateLog(Phase::Liquid, 40.0F, 800.0F, x, lnPhi, cubic);
        double g = 0.0;
        for (std::size_t i = 0; i < n.size(); ++i) {
            g += n[i] * lnPhi[i];
        }
        return std::pair{g, lnPhi};
    };
    const auto [g0, lnPhi] = nLnPhi(moles);
    for (int i = 0; i < gas.n; ++i) {
        const double h = 1e-5;
        auto up = moles;
        auto down = moles;
        up[i] += h;
        down[i] -= h;
        const double derivative = (nLnPhi(up).first - nLnPhi(down).first) / (2.0 * h);
        EXPECT_NEAR(derivative, lnPhi[i], 1e-7) << "component " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(AllEquations, Fugacity,
                         ::testing::Values("RK", "SRK", "SRK-78 (API)", "PR", "PR-78"));

TEST(FugacitySinglePhase, OneRealRootServesBothPhases) {
    // Methane far above its critical temperature: one real root.
    auto gas = testdata::MakeCase({"METHANE"}, {1.0F}, "SRK");
    CubicState cubic;
    float zV = 0.0F;
    float zL = 0.0F;
    const double phiV =
        FugacityCoefficient(EosEquation::SRK, Phase::Vapour, 300.0F, 500.0F, gas.tcF, gas.pcPsia,
                            gas.w, gas.z, 0, EosVariant::Original, gas.kij.View(), zV, cubic);
    const double phiL = FugacityCoefficient(EosEquation::SRK, PhaseFromFlag("L"), 300.0F, 500.0F,
                                            gas.tcF, gas.pcPsia, gas.w, gas.z, 0,
                                            EosVariant::Original, gas.kij.View(), zL, cubic);
    EXPECT_EQ(zV, zL);
    EXPECT_EQ(phiV, phiL);
}

TEST(FugacitySinglePhase, EmptyCompositionThrows) {
    auto gas = testdata::MethaneButane();
    const std::vector<float> none = {0.0F, 0.0F};
    CubicState cubic;
    float z = 0.0F;
    EXPECT_THROW(FugacityCoefficient(EosEquation::PR, Phase::Vapour, 40.0F, 500.0F, gas.tcF,
                                     gas.pcPsia, gas.w, none, 0, EosVariant::Original,
                                     gas.kij.View(), z, cubic),
                 EngineError);
}

} // namespace
} // namespace quorvane
