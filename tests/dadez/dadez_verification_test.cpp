// Dadez against the IFC-67 verification tables (copied into data/ beside this file):
// published table values and an independent implementation (ifc67_verify_external.csv), reference
// states in all four subregions (ifc67_verify_states.csv) and the saturation line
// (ifc67_verify_saturation.csv). The last two are regression values of 10 significant digits:
// agreement to about 1e-9 relative is expected, 1e-7 in subregions 3 and 4 where χ is iterated.

#include "dadez/dadez.h"
#include "tests/dadez/csv_table.h"
#include "tests/dadez/reduced_state.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace dadez_test {
namespace {

// Relative agreement, with an absolute floor for values near zero (10 significant digits of the
// table's largest magnitudes).
void ExpectClose(double actual, double expected, double relative, double absoluteFloor,
                 const std::string& what) {
    const double tolerance = std::max(relative * std::fabs(expected), absoluteFloor);
    EXPECT_NEAR(actual, expected, tolerance) << what;
}

// Half a unit in the last digit written in `text` ("2733.1" -> 0.05).
double HalfLastDigit(const std::string& text) {
    const std::size_t point = text.find('.');
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
    return 0.5 * std::pow(10.0, -decimals);
}

TEST(DadezVerification, ReferenceStatesInAllFourSubregions) {
    const CsvTable table(DataPath("ifc67_verify_states.csv"));
    ASSERT_EQ(table.Rows(), 25u);
    double worst = 0.0;
    for (std::size_t i = 0; i < table.Rows(); ++i) {
        const double tK = table.Number(i, "T_K");
        const double pMPa = table.Number(i, "p_MPa");
        const int subregion = static_cast<int>(table.Number(i, "subregion"));
        const std::string where = "T=" + table.Text(i, "T_K") + " K, p=" + table.Text(i, "p_MPa") +
                                  " MPa, subregion " + table.Text(i, "subregion");
        const SiState s = Evaluate(subregion, tK, pMPa);
        const double rel = subregion <= 2 ? 2e-9 : 1e-7;
        ExpectClose(s.chi, table.Number(i, "chi"), rel, 0.0, "chi at " + where);
        ExpectClose(s.epsilon, table.Number(i, "eps"), rel, 2e-9, "eps at " + where);
        ExpectClose(s.sigma, table.Number(i, "sigma"), rel, 2e-9, "sigma at " + where);
        ExpectClose(s.phi, table.Number(i, "phi"), rel, 0.0, "phi at " + where);
        ExpectClose(s.v, table.Number(i, "v_m3_per_kg"), rel, 0.0, "v at " + where);
        ExpectClose(s.h, table.Number(i, "h_kJ_per_kg"), rel, 1e-7, "h at " + where);
        ExpectClose(s.s, table.Number(i, "s_kJ_per_kgK"), rel, 1e-10, "s at " + where);
        ExpectClose(s.cp, table.Number(i, "cp_kJ_per_kgK"), rel, 0.0, "cp at " + where);
        worst = std::max(worst, std::fabs(s.v / table.Number(i, "v_m3_per_kg") - 1.0));
        worst = std::max(worst, std::fabs(s.h / table.Number(i, "h_kJ_per_kg") - 1.0));
        worst = std::max(worst, std::fabs(s.cp / table.Number(i, "cp_kJ_per_kgK") - 1.0));
    }
    RecordProperty("largest_relative_deviation_v_h_cp", std::to_string(worst));
}

TEST(DadezVerification, SubregionOfEachReferenceState) {
    const CsvTable table(DataPath("ifc67_verify_states.csv"));
    for (std::size_t i = 0; i < table.Rows(); ++i) {
        const double theta = table.Number(i, "T_K") / STM_GetCriticalTempK();
        const double beta = table.Number(i, "p_MPa") * 1e6 / STM_GetCriticalPressPa();
        EXPECT_EQ(STM_decision_subregion(theta, beta),
                  static_cast<int>(table.Number(i, "subregion")))
            << "T=" << table.Text(i, "T_K") << " K, p=" << table.Text(i, "p_MPa") << " MPa";
    }
}

TEST(DadezVerification, SaturationLine) {
    const CsvTable table(DataPath("ifc67_verify_saturation.csv"));
    ASSERT_EQ(table.Rows(), 23u);
    for (std::size_t i = 0; i < table.Rows(); ++i) {
        const double tK = table.Number(i, "T_K");
        const double theta = tK / STM_GetCriticalTempK();
        const std::string where = "T=" + table.Text(i, "T_K") + " K";
        const double rel = theta <= STM_min_theta_3_4() ? 2e-9 : 1e-7;

        const double pMPa = STM_beta_K(theta) * STM_GetCriticalPressPa() / 1e6;
        ExpectClose(pMPa, table.Number(i, "psat_MPa"), 2e-9, 0.0, "psat at " + where);
        EXPECT_NEAR(STM_inv_theta_beta_K(STM_beta_K(theta)), theta, 1e-14) << where;

        const SiState liquid = Saturated(tK, true);
        const SiState vapour = Saturated(tK, false);
        ExpectClose(liquid.v, table.Number(i, "v_liq_m3_per_kg"), rel, 0.0, "v' at " + where);
        ExpectClose(vapour.v, table.Number(i, "v_vap_m3_per_kg"), rel, 0.0, "v'' at " + where);
        ExpectClose(liquid.h, table.Number(i, "h_liq_kJ_per_kg"), rel, 1e-6, "h' at " + where);
        ExpectClose(vapour.h, table.Number(i, "h_vap_kJ_per_kg"), rel, 1e-6, "h'' at " + where);
        ExpectClose(liquid.s, table.Number(i, "s_liq_kJ_per_kgK"), rel, 1e-9, "s' at " + where);
        ExpectClose(vapour.s, table.Number(i, "s_vap_kJ_per_kgK"), rel, 1e-9, "s'' at " + where);

        // The table's g' − g'' (four decimals, kJ/kg) from the same equations.
        const double dg = (liquid.h - tK * liquid.s) - (vapour.h - tK * vapour.s);
        EXPECT_NEAR(dg, table.Number(i, "g_liq_minus_g_vap_kJ_per_kg"), 5e-5) << where;
    }
}

TEST(DadezVerification, PublishedTablesAndIndependentImplementation) {
    const CsvTable table(DataPath("ifc67_verify_external.csv"));
    ASSERT_EQ(table.Rows(), 19u);
    for (std::size_t i = 0; i < table.Rows(); ++i) {
        const std::string quantity = table.Text(i, "quantity");
        const std::string referenceText = table.Text(i, "reference");
        const double reference = std::stod(referenceText);
        const double tK = table.Number(i, "T_K");
        const double theta = tK / STM_GetCriticalTempK();
        const std::string where = table.Text(i, "source") + ": " + quantity +
                                  " at T=" + table.Text(i, "T_K") +
                                  " K, p=" + table.Text(i, "p_MPa") + " MPa";
        // To the digits given, and never looser than 1e-9 relative where many are given.
        const double tolerance =
            std::max(HalfLastDigit(referenceText), 1e-9 * std::fabs(reference));

        double computed = 0.0;
        if (quantity == "h_sat_vapour") {
            computed = Saturated(tK, false).h;
        } else if (quantity == "psat") {
            computed = STM_beta_K(theta) * STM_GetCriticalPressPa();
        } else {
            const double pMPa = table.Number(i, "p_MPa");
            const double beta = pMPa * 1e6 / STM_GetCriticalPressPa();
            const SiState s = Evaluate(STM_decision_subregion(theta, beta), tK, pMPa);
            if (quantity == "v") {
                computed = s.v * 1000.0; // cm³/g
            } else if (quantity == "rho") {
                computed = 1.0 / s.v;
            } else if (quantity == "u") {
                computed = (s.h - pMPa * 1000.0 * s.v) * 1000.0; // J/kg
            } else {
                ADD_FAILURE() << "unknown quantity " << quantity;
            }
        }
        EXPECT_NEAR(computed, reference, tolerance) << where;
    }
}

} // namespace
} // namespace dadez_test
