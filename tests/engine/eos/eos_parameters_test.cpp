#include "engine/eos/component_constants.h"
#include "engine/eos/eos_choice.h"
#include "engine/eos/eos_parameters.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(EosChoice, ListTextsMapToNameAndVariant) {
    EXPECT_EQ(EosChoiceFromText("RK"), (EosChoice{EosEquation::RK, EosVariant::Original}));
    EXPECT_EQ(EosChoiceFromText("SRK"), (EosChoice{EosEquation::SRK, EosVariant::Original}));
    EXPECT_EQ(EosChoiceFromText("SRK-78 (API)"), (EosChoice{EosEquation::SRK, EosVariant::V78}));
    EXPECT_EQ(EosChoiceFromText("PR"), (EosChoice{EosEquation::PR, EosVariant::Original}));
    EXPECT_EQ(EosChoiceFromText("PR-78"), (EosChoice{EosEquation::PR, EosVariant::V78}));
    EXPECT_EQ(EosChoiceFromText("VDW").equation, EosEquation::Unknown);
    EXPECT_EQ(EosVariantFromText("78"), EosVariant::V78);
    EXPECT_EQ(EosVariantFromText("original"), EosVariant::Original);
    EXPECT_EQ(EosListIndex("SRK-78 (API)"), 2);
    EXPECT_FALSE(EosListIndex("PR78").has_value());
}

class Parameters : public ::testing::Test {
protected:
    // Propane (Tc 206.132 °F, Pc 616.58 psia, w 0.1521) at 40 °F.
    const float tcR = RankineOf(206.132F);
    const float pc = 616.5844307F;
    const float tR = RankineOf(40.0F);
};

TEST_F(Parameters, CoVolumeConstants) {
    // 0.08664·R and 0.077796·R with R = 10.731641.
    EXPECT_NEAR(ComponentBParameter(EosEquation::SRK, tcR, pc), 0.08664 * 10.731641 * tcR / pc,
                1e-12);
    EXPECT_NEAR(ComponentBParameter(EosEquation::PR, tcR, pc), 0.077796 * 10.731641 * tcR / pc,
                1e-12);
    EXPECT_EQ(ComponentBParameter(EosEquation::Unknown, tcR, pc), 0.0);
    EXPECT_EQ(ComponentAParameter(EosEquation::Unknown, tcR, pc, tR, 0.1F, EosVariant::Original),
              0.0);
}

TEST_F(Parameters, AlphaIsOneAtTheCriticalTemperature) {
    for (auto eq : {EosEquation::SRK, EosEquation::PR}) {
        EXPECT_DOUBLE_EQ(AlphaFunction(eq, EosVariant::Original, 0.3F, tcR, tcR), 1.0);
    }
    const double a = ComponentAParameter(EosEquation::PR, tcR, pc, tcR, 0.3F, EosVariant::V78);
    const double tc = tcR;
    EXPECT_NEAR(a, 0.457235 * 10.731641 * 10.731641 * tc * tc / pc, 1e-9 * a);
}

TEST_F(Parameters, Srk78ZeroAcentricFactorUsesTheExponentialSlope) {
    const double m78 = AlphaSlope(EosEquation::SRK, EosVariant::V78, 0.0F, tR, tcR);
    EXPECT_NEAR(m78, 1.202 * std::exp(-0.30288 * double(tR) / tcR), 1e-14);
    const double aOrig =
        ComponentAParameter(EosEquation::SRK, tcR, pc, tR, 0.0F, EosVariant::Original);
    const double a78 = ComponentAParameter(EosEquation::SRK, tcR, pc, tR, 0.0F, EosVariant::V78);
    EXPECT_GT(std::fabs(a78 - aOrig), 1e-3 * aOrig);
    // w ≠ 0: the 78 polynomial with its linear coefficient 1.555171.
    EXPECT_NEAR(AlphaSlope(EosEquation::SRK, EosVariant::V78, 0.2F, tR, tcR),
                0.48508 + 1.555171 * double(0.2F) - 0.15613 * double(0.2F) * double(0.2F), 1e-14);
}

TEST_F(Parameters, Pr78SwitchesAboveOmega049) {
    const double w49 = 0.49F;
    EXPECT_DOUBLE_EQ(AlphaSlope(EosEquation::PR, EosVariant::V78, 0.49F, tR, tcR),
                     0.37464 + 1.54226 * w49 - 0.26992 * w49 * w49);
    const double w5 = 0.5F;
    EXPECT_DOUBLE_EQ(AlphaSlope(EosEquation::PR, EosVariant::V78, 0.5F, tR, tcR),
                     0.379642 + 1.48503 * w5 - 0.164423 * w5 * w5 + 0.016667 * w5 * w5 * w5);
    EXPECT_NE(AlphaSlope(EosEquation::PR, EosVariant::Original, 0.5F, tR, tcR),
              AlphaSlope(EosEquation::PR, EosVariant::V78, 0.5F, tR, tcR));
}

// The constants worked out once per component give b_i, m_i and a_i at any temperature to the
// last bit of the functions that form them anew, the temperature-dependent slope of SRK-78 at
// an acentric factor of 0 and both PR-78 slopes included.
TEST_F(Parameters, PreparedConstantsGiveTheParametersBitForBit) {
    for (int index = 0; index < 5; ++index) {
        const EosChoice eos = EosChoiceFromIndex(index);
        for (float w : {0.0F, 0.1521F, 0.49F, 0.6F}) {
            const EosComponentConstants c = PrepareEosComponent(eos, tcR, pc, w);
            EXPECT_EQ(c.b, ComponentBParameter(eos.equation, tcR, pc));
            for (float tempF : {-250.0F, 40.0F, 206.132F, 700.0F}) {
                const float t = RankineOf(tempF);
                EXPECT_EQ(c.AttractionAt(t),
                          ComponentAParameter(eos.equation, tcR, pc, t, w, eos.variant))
                    << index << " " << w << " " << tempF;
                EXPECT_EQ(c.SlopeAt(t), AlphaSlope(eos.equation, eos.variant, w, t, tcR));
            }
        }
    }
}

TEST_F(Parameters, MixingRules) {
    const std::array<float, 2> tc = {RankineOf(-116.6548F), RankineOf(305.555F)};
    const std::array<float, 2> pcs = {667.0575634F, 550.5632524F};
    const std::array<float, 2> w = {0.01142F, 0.201F};
    const std::array<float, 2> one = {1.0F, 0.0F};
    std::array<float, 4> kij = {0.05F, 0.02F, 0.02F, 0.0F};
    const KijView view{kij.data(), 2};
    // One component: b = b_0, a = a_0·(1 − k00) for SRK/PR, a_0 for RK.
    EXPECT_DOUBLE_EQ(MixtureBParameter(EosEquation::PR, tc, pcs, one),
                     ComponentBParameter(EosEquation::PR, tc[0], pcs[0]));
    const double a0 =
        ComponentAParameter(EosEquation::PR, tc[0], pcs[0], tR, w[0], EosVariant::Original);
    EXPECT_NEAR(MixtureAParameter(EosEquation::PR, tc, pcs, w, one, tR, EosVariant::Original, view),
                a0 * (1.0 - double(0.05F)), 1e-12 * a0);
    const double rk0 =
        ComponentAParameter(EosEquation::RK, tc[0], pcs[0], tR, w[0], EosVariant::Original);
    EXPECT_NEAR(MixtureAParameter(EosEquation::RK, tc, pcs, one), rk0, 1e-12 * rk0);
    // RK ignores interaction parameters.
    const std::array<float, 2> half = {0.5F, 0.5F};
    const std::array<float, 4> zero = {};
    EXPECT_EQ(MixtureAParameter(EosEquation::RK, tc, pcs, w, half, tR, EosVariant::Original, view),
              MixtureAParameter(EosEquation::RK, tc, pcs, w, half, tR, EosVariant::Original,
                                KijView{zero.data(), 2}));
    // A and B.
    EXPECT_NEAR(ReducedB(2.0, 100.0F, tR), 2.0 * 100.0 / (10.731641 * tR), 1e-15);
    EXPECT_NEAR(ReducedA(EosEquation::RK, 3.0, 100.0F, tR),
                3.0 * 100.0 / (10.731641 * 10.731641 * std::pow(double(tR), 2.5)), 1e-15);
}

} // namespace
} // namespace quorvane
