// Dadez's interface: version, constants and bounds, the subregion decision, the volume roots,
// the backward functions and their failure values, and the error report.

#include "dadez/dadez.h"
#include "tests/dadez/stderr_capture.h"

#include <cmath>
#include <gtest/gtest.h>

namespace dadez_test {
namespace {

TEST(DadezInterface, VersionAndReducingConstants) {
    EXPECT_EQ(STM_DadezVersion(), 4);
    EXPECT_EQ(STM_GetCriticalTempK(), 647.3);
    EXPECT_EQ(STM_GetCriticalPressPa(), 22.12e6);
    EXPECT_EQ(STM_GetCriticalVolumeM3Kg(), 0.00317);
}

TEST(DadezInterface, BoundsOfTheFormulation) {
    EXPECT_DOUBLE_EQ(STM_min_theta(), 273.15 / 647.3);
    EXPECT_DOUBLE_EQ(STM_max_theta(), 1073.15 / 647.3);
    EXPECT_DOUBLE_EQ(STM_max_beta(), 100e6 / 22.12e6);
    EXPECT_GT(STM_min_beta(), 0.0);
    EXPECT_LT(STM_min_beta(), STM_min_beta_K());
    EXPECT_EQ(STM_min_beta_K(), STM_beta_K(STM_min_theta()));
    EXPECT_NEAR(STM_min_beta_K() * 22.12e6, 610.8, 0.05); // saturation pressure at 0 °C, Pa
    EXPECT_DOUBLE_EQ(STM_min_theta_3_4(), 623.15 / 647.3);
    EXPECT_EQ(STM_min_beta_3_4(), STM_beta_K(STM_min_theta_3_4()));
    // The boundary line L starts on the saturation line at 350 °C.
    EXPECT_NEAR(STM_inv_theta_beta_L(STM_min_beta_3_4()), STM_min_theta_3_4(), 1e-8);
}

TEST(DadezInterface, SaturationFunctionsFailWithANegativeValue) {
    EXPECT_LT(STM_beta_K(1.0001), 0.0);
    EXPECT_LT(STM_beta_K(0.4), 0.0);
    EXPECT_EQ(STM_beta_K(1.0), 1.0);
    EXPECT_LT(STM_inv_theta_beta_K(1.01), 0.0);
    EXPECT_LT(STM_inv_theta_beta_K(STM_min_beta_K() * 0.99), 0.0);
    EXPECT_NEAR(STM_inv_theta_beta_K(STM_min_beta_K()), STM_min_theta(), 1e-15);
    EXPECT_LT(STM_inv_theta_beta_L(0.5), 0.0); // below the lowest point of the L parabola
}

TEST(DadezInterface, SubregionDecision) {
    const double t1 = STM_min_theta_3_4();
    EXPECT_EQ(STM_decision_subregion(0.5, 1.0), 1);
    EXPECT_EQ(STM_decision_subregion(0.5, 0.0001), 2);
    EXPECT_EQ(STM_decision_subregion(0.5, STM_beta_K(0.5)), 6);
    EXPECT_EQ(STM_decision_subregion(t1, STM_beta_K(t1) * 1.001), 1);
    EXPECT_EQ(STM_decision_subregion(0.98, 2.0), 4);
    EXPECT_EQ(STM_decision_subregion(0.98, STM_beta_K(0.98)), 5);
    EXPECT_EQ(STM_decision_subregion(0.98, STM_beta_K(0.98) * 0.999), 3);
    EXPECT_EQ(STM_decision_subregion(0.98, 0.5), 2);
    EXPECT_EQ(STM_decision_subregion(1.0, 1.0), 3);
    EXPECT_EQ(STM_decision_subregion(1.2, 4.0), 3);
    EXPECT_EQ(STM_decision_subregion(1.2, 2.0), 2);
    EXPECT_EQ(STM_decision_subregion(1.4, 4.5), 2);
    EXPECT_EQ(STM_decision_subregion(STM_max_theta() * 1.0001, 1.0), 0);
    EXPECT_EQ(STM_decision_subregion(0.5, STM_max_beta() * 1.0001), 0);
    EXPECT_EQ(STM_decision_subregion(0.5, 0.0), 0);
}

TEST(DadezInterface, LiquidAndVapourRootsOnTheSaturationLineUpToTheCriticalPoint) {
    for (const double theta : {0.963, 0.97, 0.98, 0.99, 0.999, 0.9999, 0.99999997}) {
        const double beta = STM_beta_K(theta);
        const double liquid = STM_inv_x_beta4(theta, beta);
        const double vapour = STM_inv_x_beta3(theta, beta);
        ASSERT_GT(liquid, 0.0) << "theta=" << theta;
        ASSERT_GT(vapour, 0.0) << "theta=" << theta;
        // Close to the critical point both roots merge; the isotherm is so flat there that they
        // agree only to about 1e-9.
        EXPECT_LE(liquid, vapour * (1.0 + 1e-8)) << "theta=" << theta;
        EXPECT_LT(liquid, 1.05) << "theta=" << theta;
        EXPECT_GT(vapour, 0.95) << "theta=" << theta;
    }
    EXPECT_LT(STM_inv_x_beta3(0.99, -1.0), 0.0);
    EXPECT_LT(STM_inv_x_beta4(0.99, 0.0), 0.0);
}

TEST(DadezInterface, BackwardFunctionsInvertTheirForwardFunctions) {
    struct Case {
        double theta, beta;
    };
    for (const Case c : {Case{0.43, 0.001}, Case{0.6, 0.2}, Case{0.9, 4.0}, Case{0.96, 1.0}}) {
        const double sigma = STM_sigma1_entropy(c.theta, c.beta);
        EXPECT_NEAR(STM_inv_theta_sigma1(sigma, c.beta), c.theta, 1e-12);
    }
    for (const Case c :
         {Case{0.45, 1e-5}, Case{0.7, 0.01}, Case{1.0, 0.8}, Case{1.4, 4.5}, Case{1.65, 1e-4}}) {
        const double sigma = STM_sigma2_entropy(c.theta, c.beta);
        EXPECT_NEAR(STM_inv_theta_sigma2(sigma, c.beta), c.theta, 1e-12);
        const double epsilon = STM_e2_enthalpy(c.theta, c.beta);
        EXPECT_NEAR(STM_inv_theta_e2(epsilon, c.beta), c.theta, 1e-12);
    }
    // Just above the lowest saturation pressure the liquid spans a sliver of θ; its lowest σ,
    // off by the rounding of a unit round trip, is still found.
    const double betaLow = STM_min_beta_K() * (1.0 + 1e-12);
    const double sigmaLow = STM_sigma1_entropy(STM_min_theta(), betaLow);
    EXPECT_NEAR(STM_inv_theta_sigma1(sigmaLow * (1.0 + 1e-15), betaLow), STM_min_theta(), 1e-12);
    // Values the subregion does not reach along the isobar.
    EXPECT_LT(STM_inv_theta_sigma2(STM_sigma1_entropy(0.5, 0.01), 0.01), 0.0);
    EXPECT_LT(STM_inv_theta_e2(1e6, 0.01), 0.0);
    EXPECT_LT(STM_inv_theta_sigma1(STM_sigma1_entropy(0.7, 0.1), 1e-6), 0.0); // no liquid there
}

TEST(DadezInterface, ErrorReportWritesCodeAndNameAndReturns) {
    StderrCapture capture;
    STM_DadezErrorReport(272, "STM_nEtp()");
    STM_DadezErrorReport(static_cast<int>(0xC000008Eu), "volume_to_x()");
    STM_DadezErrorReport(320, nullptr);
    const std::string text = capture.Text();
    EXPECT_NE(text.find("272"), std::string::npos) << text;
    EXPECT_NE(text.find("STM_nEtp()"), std::string::npos) << text;
    EXPECT_NE(text.find("0xC000008E"), std::string::npos) << text;
    EXPECT_NE(text.find("volume_to_x()"), std::string::npos) << text;
    EXPECT_NE(text.find("320"), std::string::npos) << text;
    EXPECT_EQ(Count(text, "\n"), 3);
}

} // namespace
} // namespace dadez_test
