// Dornel's property functions against the IFC-67 reference states and against each other:
// single-phase values in SI units, saturated states as limits of single-phase ones, the Clapeyron
// equation through the exports, the (p, s) and (p, h) temperatures, and transport properties.

#include "dadez/dadez.h"
#include "tests/dornel/dornel_fixture.h"

#include <cmath>
#include <string>
#include <vector>

namespace dornel_test {
namespace {

class DornelProperties : public DornelTest {
protected:
    void SetUp() override {
        DornelTest::SetUp();
        STM_SetTempUnit(1);     // K
        STM_SetPressUnit(1001); // MPa
        STM_SetVolUnit(41);     // m³/kg
    }
};

TEST_F(DornelProperties, VersionAndRange) {
    EXPECT_EQ(STM_GetMnDllVer(), 4);
    EXPECT_DOUBLE_EQ(STM_GetMinTemp(), 273.15);
    EXPECT_DOUBLE_EQ(STM_GetMaxTemp(), 1073.15);
    EXPECT_DOUBLE_EQ(STM_GetMaxPress(), 100.0);
    EXPECT_NEAR(STM_GetMinPress(), 1e-6, 1e-20);
}

// States of ifc67_verify_states.csv, one per subregion and a few more: v (m³/kg), h (kJ/kg),
// s (kJ/(kg K)), cp (kJ/(kg K)).
TEST_F(DornelProperties, ReferenceStates) {
    struct State {
        double tK, pMPa, v, h, s, cp, rel;
    };
    const State states[] = {
        {300, 3, 0.001002046966, 115.253574, 0.3920247247, 4.170725859, 2e-9},
        {623.15, 50, 0.001443828402, 1576.390171, 3.543612945, 5.436775081, 2e-9},
        {300, 0.0035, 39.49942171, 2550.653069, 8.524197521, 1.871585066, 2e-9},
        {1073.15, 100, 0.004341059549, 3714.263477, 6.0396612, 3.655870998, 2e-9},
        {650, 25, 0.002052684147, 1877.101404, 4.077559966, 16.55433212, 1e-7},
        {800, 100, 0.002071805711, 2465.416782, 4.681125482, 5.584967434, 1e-7},
        {645, 100, 0.001368191491, 1655.736818, 3.558572923, 4.691318317, 1e-7},
    };
    for (const State& st : states) {
        EXPECT_NEAR(STM_nXtp(st.tK, st.pMPa), st.v, st.rel * st.v) << st.tK << " K";
        EXPECT_NEAR(STM_nEtp(st.tK, st.pMPa), st.h * 1e3, st.rel * st.h * 1e3) << st.tK << " K";
        EXPECT_NEAR(STM_nStp(st.tK, st.pMPa), st.s * 1e3, st.rel * st.s * 1e3) << st.tK << " K";
        EXPECT_NEAR(STM_nCtp(st.tK, st.pMPa), st.cp * 1e3, st.rel * st.cp * 1e3) << st.tK << " K";
    }
}

// Saturated values at 100 °C and 350 °C and above from ifc67_verify_saturation.csv.
TEST_F(DornelProperties, SaturationLine) {
    EXPECT_NEAR(STM_kPt(373.15), 0.101325262, 1e-9);
    EXPECT_NEAR(STM_kTp(0.101325262), 373.15, 1e-6);
    EXPECT_NEAR(STM_sEtw(373.15, 1.0), 419.0646841e3, 1e-3);
    EXPECT_NEAR(STM_sEtw(373.15, 0.0), 2676.008764e3, 1e-3);
    EXPECT_NEAR(STM_sStw(643.15, 1.0), 4.110798616e3, 1e-5);
    EXPECT_NEAR(STM_sStw(643.15, 0.0), 4.814390911e3, 1e-5);
    EXPECT_NEAR(STM_sXtw(643.15, 1.0), 0.002213558615, 1e-12);
    EXPECT_NEAR(STM_sXtw(643.15, 0.0), 0.004972748762, 1e-12);
    const double p = STM_kPt(643.15);
    EXPECT_NEAR(STM_sEpw(p, 0.25), STM_sEtw(643.15, 0.25), 1e-6);
    EXPECT_NEAR(STM_sXpw(p, 0.25), STM_sXtw(643.15, 0.25), 1e-12);
}

// Saturated liquid and vapour are the limits of the single-phase states on either side of the
// saturation pressure, below 350 °C (subregions 1, 2) and above (4, 3).
TEST_F(DornelProperties, SaturatedStatesAreLimitsOfSinglePhaseStates) {
    for (const double tK : {280.0, 373.15, 500.0, 620.0, 630.0, 640.0, 646.0}) {
        const double p = STM_kPt(tK);
        const double above = p * (1.0 + 1e-9);
        const double below = p * (1.0 - 1e-9);
        EXPECT_NEAR(STM_nEtp(tK, above) / STM_sEtw(tK, 1.0), 1.0, 1e-6) << tK;
        EXPECT_NEAR(STM_nEtp(tK, below) / STM_sEtw(tK, 0.0), 1.0, 1e-6) << tK;
        EXPECT_NEAR(STM_nXtp(tK, above) / STM_sXtw(tK, 1.0), 1.0, 1e-6) << tK;
        EXPECT_NEAR(STM_nXtp(tK, below) / STM_sXtw(tK, 0.0), 1.0, 1e-6) << tK;
        EXPECT_NEAR(STM_nStp(tK, below) / STM_sStw(tK, 0.0), 1.0, 1e-6) << tK;
    }
}

TEST_F(DornelProperties, ClapeyronThroughTheExports) {
    for (double tK = 280.0; tK <= 620.0; tK += 34.0) {
        const double dT = 1e-3;
        const double slopeMPaPerK = (STM_kPt(tK + dT) - STM_kPt(tK - dT)) / (2.0 * dT);
        const double latentJ = STM_sEtw(tK, 0.0) - STM_sEtw(tK, 1.0);
        const double dvM3 = STM_sXtw(tK, 0.0) - STM_sXtw(tK, 1.0);
        EXPECT_NEAR(latentJ / (tK * dvM3) / (slopeMPaPerK * 1e6), 1.0, 0.004) << tK;
        const double entropyJump = STM_sStw(tK, 0.0) - STM_sStw(tK, 1.0);
        // T Δs = Δh up to the formulation's Gibbs-energy mismatch (about 0.15 kJ/kg).
        EXPECT_NEAR(entropyJump * tK / latentJ, 1.0, 2e-4) << tK;
    }
}

TEST_F(DornelProperties, WetnessFromEntropyAndEnthalpy) {
    for (const double pMPa : {0.001, 0.1, 5.0, 16.0, 17.0, 21.0}) {
        const double tK = STM_kTp(pMPa);
        for (const double w : {0.0, 0.2, 0.5, 0.9, 1.0}) {
            EXPECT_NEAR(STM_sWsp(pMPa, STM_sSpw(pMPa, w)), w, 1e-9) << pMPa;
            EXPECT_NEAR(STM_sWep(pMPa, STM_sEpw(pMPa, w)), w, 1e-9) << pMPa;
            EXPECT_NEAR(STM_sEsp(pMPa, STM_sSpw(pMPa, w)), STM_sEpw(pMPa, w), 1e-6) << pMPa;
            EXPECT_NEAR(STM_sEpw(pMPa, w), STM_sEtw(tK, w), 1e-3) << pMPa;
        }
    }
    EXPECT_EQ(STM_sEsp(0.1, 10e3), kError); // entropy beyond saturated vapour
}

TEST_F(DornelProperties, TemperatureFromPressureAndEntropyOrEnthalpy) {
    struct State {
        double tK, pMPa;
    };
    // Vapour (also below the triple-point pressure), liquid, and vapour above the boundary line.
    for (const State st : {State{280.0, 0.0003}, State{400.0, 0.1}, State{800.0, 10.0},
                           State{1000.0, 100.0}, State{700.0, 17.0}, State{300.0, 0.1},
                           State{450.0, 50.0}, State{620.0, 100.0}, State{274.0, 0.001}}) {
        const double s = STM_nStp(st.tK, st.pMPa);
        EXPECT_NEAR(STM_nTsp(st.pMPa, s), st.tK, 1e-8) << st.tK << " K, " << st.pMPa << " MPa";
    }
    for (const State st : {State{280.0, 0.0003}, State{400.0, 0.1}, State{800.0, 10.0},
                           State{1000.0, 100.0}, State{900.0, 90.0}}) {
        const double h = STM_nEtp(st.tK, st.pMPa);
        EXPECT_NEAR(STM_2Tep(st.pMPa, h), st.tK, 1e-8) << st.tK << " K, " << st.pMPa << " MPa";
    }
}

// Over the whole range (0-800 °C, 1 Pa-100 MPa, edges included): every single-phase property is
// a finite, physical value, and (p, s) and (p, h) lead back to the temperature wherever those
// functions apply (subregions 1 and 2, and 2 alone for (p, h)).
TEST_F(DornelProperties, WholeRangeIsFiniteAndTemperaturesRoundTrip) {
    STM_SetPressUnit(11);
    int checked = 0;
    for (double tK = 273.15; tK <= 1073.15; tK += 8.0) {
        for (double logP = 0.0; logP <= 8.0; logP += 0.1) {
            const double p = std::fmin(std::pow(10.0, logP), 1e8);
            const double theta = tK / 647.3;
            const double beta = p / 22.12e6;
            const std::string at = std::to_string(tK) + " K, " + std::to_string(p) + " Pa";
            const double h = STM_nEtp(tK, p);
            const double s = STM_nStp(tK, p);
            ASSERT_TRUE(std::isfinite(h) && h != kError) << at;
            ASSERT_TRUE(std::isfinite(s) && s != kError) << at;
            ASSERT_GT(STM_nXtp(tK, p), 0.0) << at;
            ASSERT_GT(STM_nCtp(tK, p), 0.0) << at;
            const int subregion = STM_decision_subregion(theta, beta);
            if (subregion == 1 || subregion == 2) {
                EXPECT_NEAR(STM_nTsp(p, s), tK, 1e-7) << at;
                ++checked;
            }
            if (subregion == 2) {
                EXPECT_NEAR(STM_2Tep(p, h), tK, 1e-7) << at;
            }
        }
    }
    EXPECT_GT(checked, 7000);
}

// Along the whole saturation line, 0 °C to just below the critical point: the saturation
// temperature and pressure invert each other, and the wetness found from pressure and enthalpy or
// entropy is the wetness the state was built with from its temperature. Close to the critical
// point the saturated values change so fast with temperature that the wetness holds to 1e-6 only.
TEST_F(DornelProperties, WholeSaturationLineRoundTrips) {
    STM_SetPressUnit(11);
    std::vector<double> temps;
    for (double tK = 273.15; tK < 647.0; tK += 1.7) {
        temps.push_back(tK);
    }
    for (const double gap : {1e-2, 1e-4, 1e-6, 1.5e-8}) {
        temps.push_back(647.3 * (1.0 - gap));
    }
    for (const double tK : temps) {
        const double p = STM_kPt(tK);
        ASSERT_GT(p, 0.0) << tK;
        EXPECT_NEAR(STM_kTp(p), tK, 1e-9) << tK;
        const double tolerance = tK < 640.0 ? 1e-9 : 2e-6;
        for (const double w : {0.0, 0.37, 1.0}) {
            EXPECT_NEAR(STM_sWep(p, STM_sEtw(tK, w)), w, tolerance) << tK << " K, w=" << w;
            EXPECT_NEAR(STM_sWsp(p, STM_sStw(tK, w)), w, tolerance) << tK << " K, w=" << w;
            EXPECT_GT(STM_sXtw(tK, w), 0.0) << tK << " K, w=" << w;
        }
    }
}

// Transport properties beside independent values for liquid water at 25 °C (ρ = 997.05 kg/m³:
// λ = 0.6065 W/(m K), μ = 890.0 µPa s, σ = 71.97 mN/m) and steam at 100 °C and 1 atm
// (ρ = 0.5896 kg/m³: λ = 0.0248 W/(m K), μ = 12.27 µPa s), from the present-day IAPWS
// formulations; the older correlations agree to a few parts per thousand.
TEST_F(DornelProperties, TransportPropertiesOfLiquidAndSteam) {
    STM_SetVolUnit(42);
    EXPECT_NEAR(STM_ThermalConductivity(298.15, 997.05), 0.6065, 0.003);
    EXPECT_NEAR(STM_DynamicViscosity(298.15, 997.05), 890.0, 3.0);
    EXPECT_NEAR(STM_SurfaceTension(298.15), 0.07197, 0.0001);
    EXPECT_NEAR(STM_ThermalConductivity(373.15, 0.5896), 0.0248, 0.0003);
    EXPECT_NEAR(STM_DynamicViscosity(373.15, 0.5896), 12.27, 0.06);
    // Conductivity peaks near the critical point.
    EXPECT_GT(STM_ThermalConductivity(650.0, 317.7), STM_ThermalConductivity(700.0, 317.7));
}

} // namespace
} // namespace dornel_test
