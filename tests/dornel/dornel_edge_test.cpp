// Edge cases of Dornel's range checks, unit setters, wet-steam weighting and transport
// properties, and the error reports they produce.

#include "dadez/dadez.h"
#include "tests/dadez/stderr_capture.h"
#include "tests/dornel/dornel_fixture.h"

#include <cmath>
#include <string>

namespace dornel_test {
namespace {

using dadez_test::Count;
using dadez_test::StderrCapture;

constexpr double kTcK = 647.3;

class DornelEdge : public DornelTest {};

TEST_F(DornelEdge, CriticalTemperatureIsRefusedJustBelowItIsAccepted) {
    STM_SetTempUnit(1);
    StderrCapture capture;
    EXPECT_EQ(STM_nEtp(kTcK, 25e6), kError);
    EXPECT_EQ(STM_nXtp(kTcK * 0.999999985, 25e6), kError);
    EXPECT_EQ(STM_nStp(kTcK * 1.000000015, 25e6), kError);
    const std::string text = capture.Text();
    EXPECT_EQ(Count(text, "272"), 3) << text;
    EXPECT_EQ(Count(text, "STM_nEtp()"), 1) << text;

    const double h = STM_nEtp(kTcK * 0.99999997, 25e6);
    EXPECT_NE(h, kError);
    EXPECT_NEAR(h, 1.837e6, 0.01e6); // a dense near-critical state, J/kg
    EXPECT_GT(STM_nXtp(kTcK * 1.00000003, 25e6), 0.0);
}

TEST_F(DornelEdge, PressureCodesAcceptedAndRefused) {
    EXPECT_EQ(STM_SetPressUnit(1001), 1);
    EXPECT_NEAR(STM_kPt(100.0), 0.101325262, 1e-9); // MPa
    EXPECT_EQ(STM_SetPressUnit(20), 0);
    EXPECT_EQ(STM_SetPressUnit(10), 0);
    EXPECT_EQ(STM_SetPressUnit(1000), 0);
    // A refused code leaves the previous one in force.
    EXPECT_NEAR(STM_kPt(100.0), 0.101325262, 1e-9);
}

TEST_F(DornelEdge, PressureCodes14And18AreIdentical) {
    const double temps[] = {5.0, 100.0, 250.0, 370.0};
    for (const double t : temps) {
        STM_SetPressUnit(14);
        const double p14 = STM_kPt(t);
        const double h14 = STM_nEtp(t + 50.0, 760.0);
        const double t14 = STM_kTp(700.0);
        STM_SetPressUnit(18);
        EXPECT_EQ(STM_kPt(t), p14);
        EXPECT_EQ(STM_nEtp(t + 50.0, 760.0), h14);
        EXPECT_EQ(STM_kTp(700.0), t14);
    }
}

TEST_F(DornelEdge, WetVolumeWeightsSpecificVolumesNotDensities) {
    STM_SetVolUnit(41);
    const double vLiquid = STM_sXtw(100.0, 1.0);
    const double vVapour = STM_sXtw(100.0, 0.0);
    STM_SetVolUnit(42);
    const double rhoLiquid = STM_sXtw(100.0, 1.0);
    const double rhoVapour = STM_sXtw(100.0, 0.0);
    EXPECT_NEAR(rhoLiquid * vLiquid, 1.0, 1e-14);
    EXPECT_NEAR(rhoVapour * vVapour, 1.0, 1e-14);

    const double rhoMixed = STM_sXtw(100.0, 0.5);
    EXPECT_NEAR(rhoMixed, 1.0 / (0.5 * vLiquid + 0.5 * vVapour), 1e-12);
    EXPECT_GT(std::fabs(rhoMixed - 0.5 * (rhoLiquid + rhoVapour)), 100.0);
    // Saturated volumes at 100 °C: v' = 0.001043708161, v'' = 1.672996851 m³/kg
    // (ifc67_verify_saturation.csv).
    EXPECT_NEAR(vLiquid, 0.001043708161, 2e-12);
    EXPECT_NEAR(vVapour, 1.672996851, 2e-9);
}

TEST_F(DornelEdge, WetnessAndDrynessOutsideZeroToOneAreRefused) {
    EXPECT_EQ(STM_sEtw(100.0, -0.01), kError);
    EXPECT_EQ(STM_sEtw(100.0, 1.01), kError);
    EXPECT_NE(STM_sEtw(100.0, 0.0), kError);
    EXPECT_NE(STM_sEtw(100.0, 1.0), kError);
    EXPECT_EQ(STM_sEpw(1e5, 2.0), kError);
    STM_SetWetDryUnit(52);
    EXPECT_EQ(STM_sStw(100.0, 1.5), kError);
}

TEST_F(DornelEdge, SaturationStopsJustBelowTheCriticalPoint) {
    STM_SetTempUnit(1);
    EXPECT_NE(STM_kPt(kTcK * 0.999999985), kError);
    EXPECT_EQ(STM_kPt(kTcK), kError);
    EXPECT_EQ(STM_sEtw(kTcK * 0.999999995, 0.5), kError);
    EXPECT_NE(STM_sEtw(kTcK * 0.99999997, 0.5), kError);
    EXPECT_EQ(STM_kTp(22.12e6), kError);
    EXPECT_NE(STM_kTp(22.12e6 * 0.9999999), kError);
    EXPECT_EQ(STM_kPt(272.0), kError); // below 0 °C
    EXPECT_EQ(STM_kTp(600.0), kError); // below the saturation pressure at 0 °C
}

TEST_F(DornelEdge, LiquidAt0CJustAboveItsSaturationPressureIsFoundFromEntropy) {
    STM_SetTempUnit(1);
    const double p = STM_kPt(273.15) * (1.0 + 1e-12);
    EXPECT_NEAR(STM_nTsp(p, STM_nStp(273.15, p)), 273.15, 1e-9);
}

TEST_F(DornelEdge, SurfaceTensionVanishesAt647_15KAndFailsAbove) {
    STM_SetTempUnit(1);
    EXPECT_EQ(STM_SurfaceTension(647.15), 0.0);
    EXPECT_GT(STM_SurfaceTension(647.14), 0.0);
    StderrCapture capture;
    EXPECT_EQ(STM_SurfaceTension(647.16), kError);
    EXPECT_EQ(STM_SurfaceTension(272.0), kError);
    const std::string text = capture.Text();
    EXPECT_EQ(Count(text, "STM_SurfaceTension()"), 2) << text;
    EXPECT_EQ(Count(text, "272"), 2) << text;
    STM_SetTempUnit(2);
    EXPECT_EQ(STM_SurfaceTension(374.0), 0.0);
    STM_SetTempUnit(3);
    EXPECT_EQ(STM_SurfaceTension(705.2), 0.0);
    EXPECT_EQ(STM_SurfaceTension(705.21), kError);
}

TEST_F(DornelEdge, DensityLimitOf1050IsInclusive) {
    EXPECT_NE(STM_DynamicViscosity(25.0, 1050.0), kError);
    EXPECT_NE(STM_ThermalConductivity(25.0, 1050.0), kError);
    EXPECT_EQ(STM_DynamicViscosity(25.0, 1050.001), kError);
    EXPECT_EQ(STM_ThermalConductivity(25.0, 1050.001), kError);
    STM_SetVolUnit(41);
    EXPECT_NE(STM_DynamicViscosity(25.0, 1.0 / 1050.0), kError);
    EXPECT_EQ(STM_DynamicViscosity(25.0, 1.0 / 1050.001), kError);
    EXPECT_EQ(STM_DynamicViscosity(25.0, -0.001), kError);
}

TEST_F(DornelEdge, ZeroDensityIsADivisionByZero) {
    StderrCapture capture;
    EXPECT_EQ(STM_ThermalConductivity(25.0, 0.0), kError);
    const std::string text = capture.Text();
    EXPECT_NE(text.find("0xC000008E"), std::string::npos) << text;
    EXPECT_NE(text.find("volume_to_x()"), std::string::npos) << text;
    // ... and the refused state under the export's name.
    EXPECT_NE(text.find("272 (0x00000110) in STM_ThermalConductivity()"), std::string::npos)
        << text;
}

TEST_F(DornelEdge, TransportRefusesVolumesThatAreNotPositiveFiniteNumbers) {
    // An infinity or an error value of another function passed on as the volume is refused
    // under the export's name (it used to come out as an infinite conductivity).
    for (const int code : {41, 42}) {
        STM_SetVolUnit(code);
        for (const double v : {-HUGE_VAL, HUGE_VAL, -9999.0, -1e-300}) {
            SCOPED_TRACE(testing::Message() << "code " << code << ", v = " << v);
            StderrCapture capture;
            EXPECT_EQ(STM_ThermalConductivity(25.0, v), kError);
            EXPECT_EQ(STM_DynamicViscosity(25.0, v), kError);
            const std::string text = capture.Text();
            EXPECT_NE(text.find("272 (0x00000110) in STM_ThermalConductivity()"), std::string::npos)
                << text;
            EXPECT_NE(text.find("272 (0x00000110) in STM_DynamicViscosity()"), std::string::npos)
                << text;
        }
    }
}

// kPt(T) with the enthalpy and entropy of the saturated liquid and vapour at T, over the whole
// saturation line in the desktop program's units: Dornel's wet-steam functions of pressure take
// each back as the saturated end it is.
TEST_F(DornelEdge, SaturatedEndsOfTheFunctionsOfTemperatureComeBack) {
    STM_SetTempUnit(3);
    STM_SetPressUnit(16);
    STM_SetWetDryUnit(52);
    const double tLow = STM_GetMinTemp();
    const double tHigh = kTcK * 0.99999999 * 1.8 - 459.67;
    constexpr int kSteps = 1000;
    int refused = 0;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = tLow + (tHigh - tLow) * i / kSteps;
        const double p = STM_kPt(t);
        for (const double x : {0.0, 1.0}) {
            SCOPED_TRACE(testing::Message() << "T = " << t << " F, x = " << x);
            const double h = STM_sEtw(t, x);
            const double s = STM_sStw(t, x);
            const double xh = STM_sWep(p, h);
            const double xs = STM_sWsp(p, s);
            const double hs = STM_sEsp(p, s);
            refused += (xh == kError) + (xs == kError) + (hs == kError);
            EXPECT_NEAR(xh, x, 1e-9);
            EXPECT_NEAR(xs, x, 1e-9);
            EXPECT_NEAR(hs, h, 1e-9 * std::fabs(h) + 1e-6);
        }
    }
    EXPECT_EQ(refused, 0);
}

TEST_F(DornelEdge, ReferenceTemperatureOfTheCorrelationsIsRaised) {
    STM_SetTempUnit(1);
    // Exactly at Tc of Dadez (conductivity) and at 647.27 K (viscosity) the correlations are
    // evaluated 1e-8 of the temperature higher.
    const double lambda = STM_ThermalConductivity(kTcK, 317.7);
    EXPECT_TRUE(std::isfinite(lambda));
    EXPECT_GT(lambda, 0.0);
    EXPECT_DOUBLE_EQ(lambda, STM_ThermalConductivity(kTcK * (1.0 + 1e-8), 317.7));
    const double mu = STM_DynamicViscosity(647.27, 317.763);
    EXPECT_TRUE(std::isfinite(mu));
    EXPECT_GT(mu, 0.0);
    EXPECT_DOUBLE_EQ(mu, STM_DynamicViscosity(647.27 * (1.0 + 1e-8), 317.763));
}

TEST_F(DornelEdge, ErrorReportsNameTheExport) {
    StderrCapture capture;
    EXPECT_EQ(STM_nEtp(900.0, 1e5), kError);        // above 800 °C
    EXPECT_EQ(STM_nCtp(100.0, 2e8), kError);        // above 100 MPa
    EXPECT_EQ(STM_nTsp(25e6, 4077.559966), kError); // subregion 3 at 650 K: no branch
    EXPECT_EQ(STM_2Tep(1e6, 500e3), kError);        // a liquid enthalpy
    EXPECT_EQ(STM_sWep(1e5, 5e6), kError);          // beyond saturated vapour
    const std::string text = capture.Text();
    EXPECT_NE(text.find("272 (0x00000110) in STM_nEtp()"), std::string::npos) << text;
    EXPECT_NE(text.find("272 (0x00000110) in STM_nCtp()"), std::string::npos) << text;
    EXPECT_NE(text.find("320 (0x00000140) in STM_nTsp()"), std::string::npos) << text;
    EXPECT_NE(text.find("272 (0x00000110) in STM_2Tep()"), std::string::npos) << text;
    EXPECT_NE(text.find("272 (0x00000110) in STM_sWep()"), std::string::npos) << text;
}

TEST_F(DornelEdge, NonFiniteArgumentsAreRefused) {
    EXPECT_EQ(STM_nEtp(NAN, 1e5), kError);
    EXPECT_EQ(STM_nEtp(100.0, INFINITY), kError);
    EXPECT_EQ(STM_sEtw(100.0, NAN), kError);
    EXPECT_EQ(STM_nTsp(1e5, NAN), kError);
    EXPECT_EQ(STM_2Tep(NAN, 3e6), kError);
    EXPECT_EQ(STM_SurfaceTension(NAN), kError);
    EXPECT_EQ(STM_ThermalConductivity(25.0, NAN), kError);
}

} // namespace
} // namespace dornel_test
