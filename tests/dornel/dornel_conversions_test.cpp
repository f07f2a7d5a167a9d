// Dornel's conversion routines directly: every code converts in and back out to the same value,
// and an unknown code (which the setters never let through) is reported under the routine's own
// name and ends the calling export.

#include "dornel/conversions.h"
#include "dornel/library.h"
#include "tests/dadez/stderr_capture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace dornel_test {
namespace {

using dadez_test::StderrCapture;

TEST(DornelConversions, EveryCodeRoundTrips) {
    for (const int code : {11, 12, 13, 14, 15, 16, 17, 18, 19, 1001}) {
        for (const double p : {0.5, 7.0, 1234.5}) {
            EXPECT_NEAR(dornel::BetaToP(dornel::PToBeta(p, code), code), p, 1e-12 * p) << code;
        }
    }
    for (const int code : {1, 2, 3}) {
        EXPECT_NEAR(dornel::ThetaToTemp(dornel::TempToTheta(321.0, code), code), 321.0, 1e-12);
    }
    for (const int code : {41, 42}) {
        EXPECT_NEAR(dornel::XToVolume(dornel::VolumeToX(0.25, code), code), 0.25, 1e-15);
    }
    for (const int code : {21, 22, 23}) {
        EXPECT_NEAR(dornel::EToH(dornel::HToE(2.5e3, code), code), 2.5e3, 1e-9);
    }
    for (const int code : {31, 32, 33}) {
        EXPECT_NEAR(dornel::SigmaToS(dornel::SToSigma(6.5, code), code), 6.5, 1e-12);
    }
    EXPECT_DOUBLE_EQ(dornel::WetToWetdry(dornel::WetToWetdry(0.3, 52), 52), 0.3);
    EXPECT_EQ(dornel::WetToWetdry(0.3, 51), 0.3);
}

TEST(DornelConversions, StatedFactors) {
    const double pc = 22.12e6;
    EXPECT_DOUBLE_EQ(dornel::PToBeta(1.0, 12) * pc, 98066.5);
    EXPECT_DOUBLE_EQ(dornel::PToBeta(1.0, 13) * pc, 98066.5 + 101325.0);
    EXPECT_DOUBLE_EQ(dornel::PToBeta(760.0, 14) * pc, 101325.0);
    EXPECT_DOUBLE_EQ(dornel::PToBeta(0.0, 15) * pc, 101325.0);
    EXPECT_DOUBLE_EQ(dornel::PToBeta(0.0, 17) * pc, 101325.0);
    EXPECT_DOUBLE_EQ(dornel::PToBeta(1.0, 19) * pc, 100.0);
    EXPECT_DOUBLE_EQ(dornel::PToBeta(1.0, 1001) * pc, 1e6);
    EXPECT_DOUBLE_EQ(dornel::TempToKelvin(32.0, 3), 273.15);
    EXPECT_DOUBLE_EQ(dornel::ThetaToTemp(373.15 / 647.3, 3), 212.0);
    EXPECT_DOUBLE_EQ(dornel::HToE(1.0, 21) * pc * 0.00317, 4186.8);
    EXPECT_DOUBLE_EQ(dornel::HToE(1.0, 23) * pc * 0.00317, 3600.0);
    EXPECT_DOUBLE_EQ(dornel::FaiToCap(647.3 / (pc * 0.00317), 61), 0.00023884589662749592);
    EXPECT_DOUBLE_EQ(dornel::WmkToTc(1.0, 71), 0.8598452278589853);
    EXPECT_DOUBLE_EQ(dornel::MicropasToDynvis(1.0, 81), 1e-5);
    EXPECT_DOUBLE_EQ(dornel::NmToSurtension(1.0, 93), 1000.0);
}

TEST(DornelConversions, UnknownCodesAreReportedUnderTheRoutinesName) {
    struct Case {
        double (*routine)(double, int);
        const char* name;
    };
    const Case cases[] = {{dornel::PToBeta, "p_to_beta()"},
                          {dornel::BetaToP, "beta_to_p()"},
                          {dornel::TempToTheta, "temp_to_theta()"},
                          {dornel::ThetaToTemp, "theta_to_temp()"},
                          {dornel::VolumeToX, "volume_to_x()"},
                          {dornel::XToVolume, "x_to_volume()"},
                          {dornel::HToE, "h_to_e()"},
                          {dornel::EToH, "e_to_h()"},
                          {dornel::SToSigma, "s_to_sigma()"},
                          {dornel::SigmaToS, "sigma_to_s()"},
                          {dornel::WetToWetdry, "wet_to_wetdry()"},
                          {dornel::FaiToCap, "fai_to_cap()"},
                          {dornel::WmkToTc, "wmk_to_tc()"},
                          {dornel::MicropasToDynvis, "micropas_to_dynvis()"},
                          {dornel::NmToSurtension, "nm_to_surtension()"}};
    for (const Case& c : cases) {
        StderrCapture capture;
        EXPECT_THROW(c.routine(1.0, 20), dornel::ReportedError) << c.name;
        const std::string text = capture.Text();
        EXPECT_NE(text.find(std::string("272 (0x00000110) in ") + c.name), std::string::npos)
            << text;
    }
    StderrCapture capture;
    EXPECT_THROW(dornel::XToVolume(0.0, 42), dornel::ReportedError);
    EXPECT_NE(capture.Text().find("0xC000008E) in x_to_volume()"), std::string::npos);
}

} // namespace
} // namespace dornel_test
