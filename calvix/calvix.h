/*
 * Calvix: properties of water and steam by the industrial formulation IAPWS-IF97 (as first
 * released in 1997, including the five-term region 5 up to 10 MPa), in units the caller
 * selects.
 *
 * Binding. libcalvix.so exports exactly the STM_ functions below as plain C functions;
 * arguments pass by value (64-bit doubles, 32-bit ints) and nothing is allocated across the
 * boundary. Programs may link it or resolve the names with dlsym.
 *
 * Units. Seven unit codes (temperature, pressure, enthalpy, entropy, density, wetness and
 * heat capacity) are held ONCE FOR THE WHOLE PROCESS, not per thread or per caller. Every
 * input is read, and every result given, in the current codes. A program that changes units
 * from one thread while another evaluates, or that evaluates from several threads with
 * different unit wishes, MUST SERIALISE its use of the library (set units and evaluate
 * under one lock). Evaluation itself keeps no other state.
 *
 * Defaults: temperature 1 (K), pressure 12 (MPa), enthalpy 32 (kJ/kg), entropy 52
 * (kJ/(kg K)), density 71 (specific volume, m³/kg), wetness 91 (wetness), heat capacity
 * 102 (kJ/(kg K)). Codes:
 *   temperature   1 K, 2 °C, 3 °F
 *   pressure      11 Pa, 12 MPa, 13 kgf/cm², 14 kgf/cm² gauge, 15 mmHg, 16 mmHg gauge,
 *                 17 atm, 18 atm gauge, 19 hPa, 20 Pa gauge, 21 MPa gauge
 *                 (gauge codes are relative to the standard atmosphere, 101325 Pa)
 *   enthalpy      31 J/kg, 32 kJ/kg, 33 kcal/kg
 *   entropy       51 J/(kg K), 52 kJ/(kg K), 53 kcal/(kg K)
 *   density       71 specific volume m³/kg, 72 density kg/m³
 *   wet/dry       91 wetness (liquid mass fraction), 92 dryness (vapour mass fraction)
 *   heat capacity 101 J/(kg K), 102 kJ/(kg K), 103 kcal/(kg K)
 * A setting function returns 1 and stores an accepted code, or returns 0 and keeps the
 * previous one.
 *
 * Failure. A double result of -99999.999 (CALVIX_ERROR_VALUE) means no answer: an input
 * outside its range, a state outside the formulation or a failed search. It is never
 * converted into the caller's units. STM_GetDllVer fails with -99999; the setting
 * functions and saturation tests answer 0.
 *
 * Limits within rounding. A value that lies outside a range limit by no more than 1e-9 of
 * the limit's size (CALVIX_LIMIT_SLACK: a few units in the tenth significant digit) is taken
 * as the limit itself: a state the library answered at a limit and that comes back through a
 * unit conversion or a display rounded to ten significant digits (h at 1073.15 K and 50 MPa,
 * 32 °F converted to K) is answered, not refused. This holds for the temperature and pressure
 * limits of every function and for the enthalpy and entropy limits of STM_nTph and STM_nTps.
 * Likewise the wet-steam functions of pressure (STM_sXph, STM_sXps, STM_sHps) take a value
 * within that slack (relative to the larger of the saturated values) outside the saturated
 * liquid or vapour value as that saturated state, so that psat(T) with h(T, 0) or s(T, 1)
 * from the functions of temperature is accepted back; and since h' and s' are slightly
 * negative just above 273.15 K, negative enthalpies and entropies are not refused as such by
 * these functions, STM_nTph, STM_nTps or the saturation tests (the range of the formulation
 * is checked instead). Temperatures that STM_nTph and STM_nTps find by the backward equations
 * are kept within the temperatures of the region the state belongs to.
 *
 * Version. STM_GetDllVer(part) answers the part-th number (1 to 4; any other part counts
 * as 1) of the library's product version "2, 2, 0, 0". The version is carried by the
 * library file itself in an ELF note (owner "Calvix", section .note.calvix.version; see
 * `readelf -n libcalvix.so`), which the function reads from the loaded image of the module
 * that contains its own code, so the answer always describes this library, whatever
 * program loaded it.
 */
#ifndef CALVIX_CALVIX_H
#define CALVIX_CALVIX_H

#include <stdint.h>

#define CALVIX_API __attribute__((visibility("default")))
#define CALVIX_ERROR_VALUE (-99999.999)
#define CALVIX_LIMIT_SLACK 1e-9

#ifdef __cplusplus
extern "C" {
#endif

/* Version and units. */
CALVIX_API int32_t STM_GetDllVer(int32_t part);
CALVIX_API int32_t STM_SetTempUnit(int32_t code);
CALVIX_API int32_t STM_SetPressUnit(int32_t code);
CALVIX_API int32_t STM_SetEnthalUnit(int32_t code);
CALVIX_API int32_t STM_SetEntroUnit(int32_t code);
CALVIX_API int32_t STM_SetDensityUnit(int32_t code);
CALVIX_API int32_t STM_SetWetDryUnit(int32_t code);
CALVIX_API int32_t STM_SetHCUnit(int32_t code);
CALVIX_API double STM_GetMaxTemp(void);  /* 2273.15 K */
CALVIX_API double STM_GetMinTemp(void);  /* 273.15 K */
CALVIX_API double STM_GetMaxPress(void); /* 100 MPa */
CALVIX_API double STM_GetMinPress(void); /* 0 MPa (negative under a gauge code) */

/* Saturation line and wet steam; x is the wetness or dryness of the current code. */
CALVIX_API double STM_sPt(double t);            /* psat; 273.15 K <= T <= 647.096 K */
CALVIX_API double STM_sTp(double p);            /* Tsat; psat(273.15 K) <= p <= 22.064 MPa */
CALVIX_API double STM_sRt(double t);            /* h'' - h'; 273.15 K <= T < 647.096 K */
CALVIX_API double STM_sHtx(double t, double x); /* wet-steam enthalpy; 0 <= x <= 1 */
CALVIX_API double STM_sDtx(double t, double x); /* wet-steam density (or specific volume) */
CALVIX_API double STM_sStx(double t, double x); /* wet-steam entropy */
CALVIX_API double STM_sHps(double p, double s); /* wet-steam enthalpy from (p, s); s' <= s <= s'' */
CALVIX_API double STM_sXps(double p, double s); /* wetness or dryness from (p, s) */
CALVIX_API double STM_sXph(double p, double h); /* wetness or dryness from (p, h) */

/* Single-phase properties from (T, p); a state exactly on the saturation line is taken
 * as saturated vapour. */
CALVIX_API double STM_nDtp(double t, double p);  /* density (code 71: specific volume) */
CALVIX_API double STM_nHtp(double t, double p);  /* specific enthalpy */
CALVIX_API double STM_nStp(double t, double p);  /* specific entropy */
CALVIX_API double STM_nCPtp(double t, double p); /* isobaric heat capacity */
CALVIX_API double STM_nCVtp(double t, double p); /* isochoric heat capacity */
CALVIX_API double STM_nWtp(double t, double p);  /* speed of sound, always m/s */
CALVIX_API double STM_nKtp(double t, double p);  /* isentropic exponent w²/(p v) */

/* Temperature and two-phase tests from pressure with entropy or enthalpy. Below psat(273.15 K)
 * (611.2 Pa) there is no liquid or wet steam within the formulation: only vapour from
 * 273.15 K up (T(p, s) found there on the region 2 equation itself). Values within the small
 * inconsistency bands where two regions meet (at 623.15 K, on the boundary of regions 2 and 3, at
 * 1073.15 K) answer the boundary temperature. */
CALVIX_API double STM_nTps(double p, double s);      /* 0 < p < 100 MPa */
CALVIX_API double STM_nTph(double p, double h);      /* 0 < p <= 100 MPa */
CALVIX_API int32_t STM_IsSat_ps(double p, double s); /* 1 when two-phase, else 0 */
CALVIX_API int32_t STM_IsSat_ph(double p, double h); /* 1 when two-phase, else 0 */

#ifdef __cplusplus
}
#endif

#endif /* CALVIX_CALVIX_H */
