#include "engine/properties/transport.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

// Methane: Tc = -116.67 F, Pc = 667.8 psia, M = 16.043. n-hexane: Tc = 453.7 F,
// Pc = 436.9 psia, w = 0.3013, M = 86.177, Tb = 155.7 F.
TEST(TransportWorkedValueTest, YoonThodosMethaneAt100F) {
    EXPECT_NEAR(YoonThodosViscosity("METHANE", 100.0, -116.67, 667.8, 16.043), 0.0114, 0.00005);
}

TEST(TransportWorkedValueTest, LetsouStielHexaneAt77F) {
    EXPECT_NEAR(LetsouStielViscosity(77.0, 453.7, 436.9, 0.3013, 86.177), 0.252, 0.0005);
}

TEST(TransportWorkedValueTest, SatoRiedelHexaneAt77F) {
    EXPECT_NEAR(SatoRiedelConductivity(77.0, 453.7, 155.7, 86.177), 0.0777, 0.00005);
}

TEST(TransportTest, HydrogenConstantsAreChosenInAnyLetterCase) {
    const float upper = YoonThodosViscosity("HYDROGEN", 100.0, -400.0, 188.0, 2.016);
    EXPECT_FLOAT_EQ(YoonThodosViscosity("hydrogen", 100.0, -400.0, 188.0, 2.016), upper);
    EXPECT_NE(YoonThodosViscosity("HYDROGEN SULFIDE", 100.0, -400.0, 188.0, 2.016), upper);
}

TEST(TransportTest, LetsouStielIsFlooredWhereTheCorrelationTurnsNegative) {
    // With w = 0 the simple-fluid term is negative near Tr = 1.42 (T = 837 F for n-hexane).
    EXPECT_FLOAT_EQ(LetsouStielViscosity(837.0, 453.7, 436.9, 0.0, 86.177), 1e-7F);
    // A failed evaluation is not dressed up as the floor.
    EXPECT_FALSE(std::isfinite(LetsouStielViscosity(77.0, 453.7, 436.9, std::nan(""), 86.177)));
}

TEST(TransportTest, WilkeOfOneComponentIsItsViscosity) {
    const std::array<float, 1> y{1.0F};
    const std::array<float, 1> m{16.043F};
    const std::array<float, 1> eta{0.0114F};
    EXPECT_FLOAT_EQ(WilkeViscosityMixing(y, m, eta), 0.0114F);
    // A component absent from the vapour does not enter the outer sum.
    const std::array<float, 2> y2{1.0F, 0.0F};
    const std::array<float, 2> m2{16.043F, 30.07F};
    const std::array<float, 2> eta2{0.0114F, 0.0095F};
    EXPECT_FLOAT_EQ(WilkeViscosityMixing(y2, m2, eta2), 0.0114F);
}

TEST(TransportTest, DenseGasTermsVanishAtZeroDensity) {
    EXPECT_NEAR(DeanStielIncrement(0.0, -116.67, 667.8, 16.043), 0.0, 1e-12);
    EXPECT_NEAR(StielThodosIncrement(0.0, -116.67, 667.8, 16.043, 0.286), 0.0, 1e-12);
}

TEST(TransportTest, StielThodosBranchBoundariesBelongToTheMiddleBranch) {
    auto middle = [](double rhoR) {
        return static_cast<double>(StielThodosIncrement(rhoR, -116.67, 667.8, 16.043, 0.286));
    };
    const double scale = middle(1.0) / (std::exp(0.67 * 1.0) - 1.069);
    EXPECT_NEAR(middle(0.5), scale * (std::exp(0.67 * 0.5) - 1.069), 1e-6 * middle(1.0));
    EXPECT_NEAR(middle(2.0), scale * (std::exp(0.67 * 2.0) - 1.069), 1e-6 * middle(1.0));
}

// The Stiel-Thodos multipliers are 32-bit numbers (2.702, 0.535, 2.528, 0.67, 0.574, 1.155,
// 2.016) applied at their 1e-8 scale; the reducing product Gamma * Zc^5 is a 32-bit value.
TEST(TransportTest, StielThodosUsesItsThirtyTwoBitMultipliers) {
    const double tcF = -116.67;
    const double pcPsia = 667.8;
    const double molWeight = 16.043;
    const double zc = 0.2863;
    const double gamma = std::pow((tcF - 32.0) / 1.8 + 273.15, 1.0 / 6.0) * std::sqrt(molWeight) /
                         std::pow(pcPsia * 6894.7333, 2.0 / 3.0);
    const double reducing = static_cast<float>(gamma * std::pow(zc, 5));
    auto expected = [&](double g) { return static_cast<float>(g / reducing * 0.57826656); };
    auto single = [](float value) { return static_cast<double>(value); };
    for (double rhoR : {0.11, 0.3, 0.45}) {
        EXPECT_EQ(StielThodosIncrement(rhoR, tcF, pcPsia, molWeight, zc),
                  expected(single(2.702F) * 1e-8 * (std::exp(single(0.535F) * rhoR) - 1.0)))
            << rhoR;
    }
    for (double rhoR : {0.7, 1.3, 1.9}) {
        EXPECT_EQ(StielThodosIncrement(rhoR, tcF, pcPsia, molWeight, zc),
                  expected(single(2.528F) * 1e-8 * (std::exp(single(0.67F) * rhoR) - 1.069)))
            << rhoR;
    }
    for (double rhoR : {2.2, 2.6, 3.1}) {
        EXPECT_EQ(
            StielThodosIncrement(rhoR, tcF, pcPsia, molWeight, zc),
            expected(single(0.574F) * 1e-8 * (std::exp(single(1.155F) * rhoR) + single(2.016F))))
            << rhoR;
    }
}

// Methane at 100 F and 1000 psia: density about 0.188 lb-mol/ft3 (Z about 0.885), so
// rho_r = Vc * rho = 1.59 * 0.188. The published dense-gas increment is about a fifth of
// the dilute-gas conductivity there.
TEST(TransportTest, StielThodosIncrementOfDenseMethaneIsAFifthOfTheDiluteValue) {
    const double eta = YoonThodosViscosity("METHANE", 100.0, -116.67, 667.8, 16.043);
    const double dilute = EuckenConductivity(8.75, eta, 16.043);
    const double increment = StielThodosIncrement(1.59 * 0.188, -116.67, 667.8, 16.043, 0.2863);
    EXPECT_GT(increment, 0.10 * dilute);
    EXPECT_LT(increment, 0.30 * dilute);
    // Dilute methane at 100 F conducts about 0.0197 Btu/(h ft F).
    EXPECT_NEAR(dilute, 0.0197, 0.002);
}

TEST(TransportTest, LiquidConductivityPressureFactorNearOneAtLowPressure) {
    EXPECT_NEAR(LiquidConductivityPressureFactor(0.6, 0.0), 0.98, 1e-7);
    EXPECT_GT(LiquidConductivityPressureFactor(0.6, 5.0),
              LiquidConductivityPressureFactor(0.6, 1.0));
}

TEST(TransportTest, LucasRatioIsOneAtTheVapourPressure) {
    EXPECT_NEAR(LucasPressureRatio(77.0, 453.7, 2.9, 2.9, 436.9, 0.3013), 1.0, 1e-6);
    EXPECT_GT(LucasPressureRatio(77.0, 453.7, 3000.0, 2.9, 436.9, 0.3013), 1.0F);
    // Below the vapour pressure the fractional power of a negative number fails.
    EXPECT_FALSE(std::isfinite(LucasPressureRatio(77.0, 453.7, 1.0, 2.9, 436.9, 0.3013)));
}

TEST(TransportTest, LogMeanMixingOfEqualValues) {
    const std::array<float, 2> weights{0.3F, 0.7F};
    const std::array<float, 2> values{0.25F, 0.25F};
    EXPECT_NEAR(LogMeanMixing(weights, values), 0.25, 1e-7);
}

} // namespace
} // namespace quorvane
