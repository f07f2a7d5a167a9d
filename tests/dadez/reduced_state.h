#pragma once

// Properties of a single-phase state through Dadez's subregion functions, in SI units
// (m³/kg, kJ/kg, kJ/(kg K)), for comparisons with the verification tables.

#include "dadez/dadez.h"

namespace dadez_test {

struct SiState {
    int subregion = 0;
    double chi = 0, epsilon = 0, sigma = 0, phi = 0;
    double v = 0, h = 0, s = 0, cp = 0;
};

inline double PvKiloJoule() {
    return STM_GetCriticalPressPa() * STM_GetCriticalVolumeM3Kg() / 1000.0;
}

// Evaluates the given subregion's equation at T (K), p (MPa).
inline SiState Evaluate(int subregion, double tK, double pMPa) {
    const double theta = tK / STM_GetCriticalTempK();
    const double beta = pMPa * 1e6 / STM_GetCriticalPressPa();
    SiState s;
    s.subregion = subregion;
    switch (subregion) {
    case 1:
        s.chi = STM_x1_volume(theta, beta);
        s.epsilon = STM_e1_enthalpy(theta, beta);
        s.sigma = STM_sigma1_entropy(theta, beta);
        s.phi = STM_iso_heat_cap1(theta, beta);
        break;
    case 2:
        s.chi = STM_x2_volume(theta, beta);
        s.epsilon = STM_e2_enthalpy(theta, beta);
        s.sigma = STM_sigma2_entropy(theta, beta);
        s.phi = STM_iso_heat_cap2(theta, beta);
        break;
    case 3:
        s.chi = STM_inv_x_beta3(theta, beta);
        s.epsilon = STM_e3_enthalpy(theta, s.chi);
        s.sigma = STM_sigma3_entropy(theta, s.chi);
        s.phi = STM_iso_heat_cap3(theta, s.chi);
        break;
    case 4:
        s.chi = STM_inv_x_beta4(theta, beta);
        s.epsilon = STM_e4_enthalpy(theta, s.chi);
        s.sigma = STM_sigma4_entropy(theta, s.chi);
        s.phi = STM_iso_heat_cap4(theta, s.chi);
        break;
    default:
        break;
    }
    const double pv = PvKiloJoule();
    s.v = s.chi * STM_GetCriticalVolumeM3Kg();
    s.h = s.epsilon * pv;
    s.s = s.sigma * pv / STM_GetCriticalTempK();
    s.cp = s.phi * pv / STM_GetCriticalTempK();
    return s;
}

// Saturated liquid or vapour at T (K) on the saturation line: subregions 1 and 2 up to 350 °C,
// 4 and 3 above.
inline SiState Saturated(double tK, bool liquid) {
    const double theta = tK / STM_GetCriticalTempK();
    const double pMPa = STM_beta_K(theta) * STM_GetCriticalPressPa() / 1e6;
    const bool low = theta <= STM_min_theta_3_4();
    return Evaluate(liquid ? (low ? 1 : 4) : (low ? 2 : 3), tK, pMPa);
}

} // namespace dadez_test
