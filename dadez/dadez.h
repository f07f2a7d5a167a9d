#pragma once

// Dadez: the 1967 IFC Formulation for Industrial Use (IFC-67) for water and steam, evaluated in
// reduced variables. Everything crosses as plain values:
//   θ = T/Tc, β = p/pc, χ = v/vc, ε = h/(pc·vc), σ = s·Tc/(pc·vc), φ = cp·Tc/(pc·vc)
// with Tc, pc and vc as returned below (647.3 K, 22.12 MPa, 0.00317 m³/kg).
//
// Subregions (STM_decision_subregion): 1 liquid up to 350 °C; 2 vapour (and all states above
// 590 °C); 3 near-critical and supercritical states above the boundary line L from 350 °C on;
// 4 liquid from 350 °C to the critical temperature; 5 and 6 are states exactly on the saturation
// line, 5 from 350 °C on and 6 below, which callers treat like 3 and 2.
//
// Functions that can fail return a negative value; nothing here ends the process.

#ifdef __cplusplus
extern "C" {
#endif

#define DADEZ_API __attribute__((visibility("default")))

// The two functions below are known to callers of the older interface only by their ordinals
// (4 and 1); here they are exported by name.

// Version of this library: 4 (ordinal 4).
DADEZ_API int STM_DadezVersion(void);

// Error report (ordinal 1): writes "Dadez: error <code> (0x<hex code>) in <functionName>" and a
// line break to standard error. Codes used by callers: 272 (argument or unit code out of range),
// 320 (state outside subregions 1 to 6), 0xC000008E (division by zero). Returns normally in every
// case; a null name is written as "(unknown)".
DADEZ_API void STM_DadezErrorReport(int code, const char* functionName);

// Reducing constants.
DADEZ_API double STM_GetCriticalTempK(void);      // Tc, K
DADEZ_API double STM_GetCriticalPressPa(void);    // pc, Pa
DADEZ_API double STM_GetCriticalVolumeM3Kg(void); // vc, m³/kg

// Range of the formulation: θ from 0 °C to 800 °C, β from 1 Pa to 100 MPa.
DADEZ_API double STM_min_theta(void);
DADEZ_API double STM_max_theta(void);
DADEZ_API double STM_min_beta(void);
DADEZ_API double STM_max_beta(void);
// β of the saturation line at STM_min_theta (its lowest point here).
DADEZ_API double STM_min_beta_K(void);
// θ (350 °C) and saturation β where subregions 3 and 4 begin.
DADEZ_API double STM_min_theta_3_4(void);
DADEZ_API double STM_min_beta_3_4(void);

// Saturation line: β_K(θ) for STM_min_theta <= θ <= 1, else -1.
DADEZ_API double STM_beta_K(double theta);
// Its inverse for STM_min_beta_K <= β <= 1, else -1.
DADEZ_API double STM_inv_theta_beta_K(double beta);
// θ on the boundary line between subregions 2 and 3 (the inverse of β_L), or -1 when β is below
// the line's lowest point.
DADEZ_API double STM_inv_theta_beta_L(double beta);

// Subregion 1 to 6 of (θ, β); 0 outside the range of the formulation.
DADEZ_API int STM_decision_subregion(double theta, double beta);

// Reduced enthalpy ε.
DADEZ_API double STM_e1_enthalpy(double theta, double beta);
DADEZ_API double STM_e2_enthalpy(double theta, double beta);
DADEZ_API double STM_e3_enthalpy(double theta, double chi);
DADEZ_API double STM_e4_enthalpy(double theta, double chi);

// Reduced entropy σ.
DADEZ_API double STM_sigma1_entropy(double theta, double beta);
DADEZ_API double STM_sigma2_entropy(double theta, double beta);
DADEZ_API double STM_sigma3_entropy(double theta, double chi);
DADEZ_API double STM_sigma4_entropy(double theta, double chi);

// Reduced volume χ.
DADEZ_API double STM_x1_volume(double theta, double beta);
DADEZ_API double STM_x2_volume(double theta, double beta);
// χ of subregion 3 (the vapour root below the critical temperature) and of subregion 4 (the
// liquid root) at (θ, β); -1 when no root exists.
DADEZ_API double STM_inv_x_beta3(double theta, double beta);
DADEZ_API double STM_inv_x_beta4(double theta, double beta);

// Reduced isobaric heat capacity φ.
DADEZ_API double STM_iso_heat_cap1(double theta, double beta);
DADEZ_API double STM_iso_heat_cap2(double theta, double beta);
DADEZ_API double STM_iso_heat_cap3(double theta, double chi);
DADEZ_API double STM_iso_heat_cap4(double theta, double chi);

// Backward functions: θ from (σ, β) in subregions 1 and 2 and from (ε, β) in subregion 2; -1 when
// the value is not reached within the subregion's temperature range at that β.
DADEZ_API double STM_inv_theta_sigma1(double sigma, double beta);
DADEZ_API double STM_inv_theta_sigma2(double sigma, double beta);
DADEZ_API double STM_inv_theta_e2(double epsilon, double beta);

#ifdef __cplusplus
}
#endif
