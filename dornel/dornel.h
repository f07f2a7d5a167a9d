#pragma once

// Dornel: water and steam properties by the 1967 industrial formulation (IFC-67) in selectable
// units, over the Dadez library, with water transport properties.
//
// Every function returns its result in the current units, or -9999 after reporting the error
// through Dadez's error report (code 272: argument or unit out of range, 320: state outside the
// subregions, 0xC000008E: division by zero in a volume conversion). A negative intermediate result
// from Dadez (a failed volume root) is returned unchanged; the temperature functions return -9999
// instead, since a negative θ would read as a temperature.
//
// Units. The ten unit codes below are held ONCE FOR THE WHOLE PROCESS, not per thread or per
// caller: every input is read, and every result given, in the current codes. A program that
// changes units from one thread while another evaluates, or that evaluates from several threads
// with different unit wishes, MUST SERIALISE its use of the library (set the units and evaluate
// under one lock). Evaluation itself keeps no other state.
//
// Limits within rounding. A temperature or pressure within 1e-9 of a range limit (relative) is
// taken as the limit, and an entropy or enthalpy within 1e-12 of the ends' size outside the
// saturated liquid or vapour value as that saturated state.
//
// Dornel requires Dadez version 4 or later. With an older Dadez it writes a message to standard
// error once, when loaded, and then every function returns -9999 (setters return 0).

#ifdef __cplusplus
extern "C" {
#endif

#define DORNEL_API __attribute__((visibility("default")))

// Unit setters: each stores an accepted code and returns 1, else returns 0.
DORNEL_API int STM_SetTempUnit(int code);    // 1 K, 2 °C (default), 3 °F
DORNEL_API int STM_SetPressUnit(int code);   // 11 Pa (default), 12 kgf/cm², 13 kgf/cm² gauge,
                                             // 14 and 18 mmHg, 15 mmHg gauge, 16 atm,
                                             // 17 atm gauge, 19 hPa, 1001 MPa
DORNEL_API int STM_SetEntlUnit(int code);    // 21 kcal/kg, 22 J/kg (default), 23 Wh/kg
DORNEL_API int STM_SetEntrUnit(int code);    // 31 kcal/(kg K), 32 J/(kg K) (default), 33 Wh/(kg K)
DORNEL_API int STM_SetVolUnit(int code);     // 41 m³/kg, 42 kg/m³ (default)
DORNEL_API int STM_SetWetDryUnit(int code);  // 51 wetness (default), 52 dryness
DORNEL_API int STM_SetHeatCapUnit(int code); // 61 kcal/(kg K), 62 J/(kg K) (default), 63 Wh/(kg K)
DORNEL_API int STM_SetThermalConUnit(int code); // 71 kcal/(m h K), 72 W/(m K) (default)
DORNEL_API int STM_SetDynamicVisUnit(int code); // 81 P, 82 Pa s, 83 µPa s (default)
DORNEL_API int STM_SetSurTensionUnit(int code); // 91 N/m (default), 92 mN/m, 93 dyn/cm

// Version of Dornel: 4.
DORNEL_API int STM_GetMnDllVer(void);

// Range of the formulation in the current units.
DORNEL_API double STM_GetMaxTemp(void);
DORNEL_API double STM_GetMinTemp(void);
DORNEL_API double STM_GetMaxPress(void);
DORNEL_API double STM_GetMinPress(void);

// Single-phase properties from temperature and pressure.
DORNEL_API double STM_nEtp(double t, double p); // enthalpy
DORNEL_API double STM_nStp(double t, double p); // entropy
DORNEL_API double STM_nXtp(double t, double p); // specific volume or density
DORNEL_API double STM_nCtp(double t, double p); // isobaric heat capacity

// Saturation pressure from temperature and temperature from pressure.
DORNEL_API double STM_kPt(double t);
DORNEL_API double STM_kTp(double p);

// Wet steam from temperature or pressure and wetness (or dryness): enthalpy, entropy, volume.
DORNEL_API double STM_sEtw(double t, double w);
DORNEL_API double STM_sStw(double t, double w);
DORNEL_API double STM_sXtw(double t, double w);
DORNEL_API double STM_sEpw(double p, double w);
DORNEL_API double STM_sSpw(double p, double w);
DORNEL_API double STM_sXpw(double p, double w);

// Wet steam from pressure and entropy or enthalpy; the entropy or enthalpy must lie between the
// saturated liquid and vapour values (else 272).
DORNEL_API double STM_sEsp(double p, double s); // enthalpy
DORNEL_API double STM_sWsp(double p, double s); // wetness or dryness
DORNEL_API double STM_sWep(double p, double h); // wetness or dryness

// Temperature from pressure and entropy (liquid or vapour) and from pressure and enthalpy
// (superheated vapour).
DORNEL_API double STM_nTsp(double p, double s);
DORNEL_API double STM_2Tep(double p, double h);

// Transport properties: from temperature and specific volume (or density), and surface tension
// from temperature. The volume (or density) must be a positive finite number, else 272.
DORNEL_API double STM_ThermalConductivity(double t, double v);
DORNEL_API double STM_DynamicViscosity(double t, double v);
DORNEL_API double STM_SurfaceTension(double t);

#ifdef __cplusplus
}
#endif
