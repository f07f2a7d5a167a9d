// The state, heat capacities and Calvix-only values of the IF97 formulation, through Calvix.

#include "app/water/library_calls.h"
#include "app/water/steam_formulation.h"

namespace quorvane::steam {

namespace {

constexpr double kCriticalTempF = 647.096 * 1.8 - 459.67;
constexpr double kCriticalPressPsia = 22.064e6 / 101325.0 * kPsiaPerAtm;

// (P, H) or (P, S). Two-phase states, and states at a saturated end within rounding (which
// the two-phase test counts as liquid or vapour, but whose temperature the backward equations
// would give only to some millikelvin, on either side of the line), lie on the saturation line
// at Tsat(P). Single-phase states take T from the library's search.
SteamState PressureAnd(LibraryCalls& c, const SteamGiven& given, bool enthalpyGiven) {
    SteamState st;
    st.pressPsia = given.pressPsia;
    SetGiven(st, given, enthalpyGiven);
    const double p = LibraryCalls::Atm(st.pressPsia);
    const char* wet = enthalpyGiven ? "STM_sHtx" : "STM_sStx";
    const double tSat = c.SatTemp(st.pressPsia);
    const double liquidEnd = c.Raw(wet, tSat, 0.0);
    const double raw =
        OntoSaturatedEnds(GivenRaw(given, enthalpyGiven), liquidEnd, c.Raw(wet, tSat, 1.0));
    const double wetQuality = c.Raw(enthalpyGiven ? "STM_sXph" : "STM_sXps", p, raw);
    if (c.Test(enthalpyGiven ? "STM_IsSat_ph" : "STM_IsSat_ps", p, raw) ||
        std::isfinite(wetQuality)) {
        st.tempF = tSat;
        st.quality = wetQuality;
        c.SaturatedAt(st);
        return st;
    }
    const double tempF = c.Raw(enthalpyGiven ? "STM_nTph" : "STM_nTps", p, raw);
    if (std::isfinite(tSat)) {
        const bool vapour = !(raw < liquidEnd);
        st.quality = vapour ? 1.0 : 0.0;
        st.tempF = OnSide(tempF, tSat, vapour);
    } else {
        st.tempF = tempF;
        st.quality =
            SinglePhaseQuality(tempF, st.pressPsia, tSat, kCriticalTempF, kCriticalPressPsia);
    }
    c.SingleAt(st);
    return st;
}

// (T, P): a single-phase state; its side of the saturation line gives the quality.
SteamState TemperaturePressure(LibraryCalls& c, const SteamGiven& given) {
    SteamState st;
    st.tempF = given.tempF;
    st.pressPsia = given.pressPsia;
    c.SingleAt(st);
    const double p = LibraryCalls::Atm(st.pressPsia);
    const double h = LibraryCalls::JPerKg(st.enthalpy);
    if (c.Test("STM_IsSat_ph", p, h)) {
        st.saturated = true;
        st.quality = c.Raw("STM_sXph", p, h);
    } else {
        st.quality = SinglePhaseQuality(st.tempF, st.pressPsia, c.SatTemp(st.pressPsia),
                                        kCriticalTempF, kCriticalPressPsia);
    }
    return st;
}

} // namespace

SteamState CompleteIf97(SteamLibrary::Session& calvix, const SteamGiven& given) {
    LibraryCalls c(calvix, kCalvixNames);
    return CompleteState(c, given, TemperaturePressure, PressureAnd);
}

HeatCapacities If97HeatCapacities(SteamLibrary::Session& calvix, const SteamState& state) {
    if (IsTwoPhase(state.quality)) {
        return {0.0, 0.0};
    }
    LibraryCalls c(calvix, kCalvixNames);
    if (state.saturated && state.quality < kTwoPhaseLow) {
        return {
            SaturatedLiquidCp(state.tempF, 32.0, [&](double t) { return c.WetEnthalpy(t, 0.0); }),
            CalvixCv(calvix, state)};
    }
    return {c.Raw("STM_nCPtp", state.tempF, c.PressureOf(state, kPsiaPerAtmPrecise)) *
                kHeatCapacityPerKjPerKgK,
            CalvixCv(calvix, state)};
}

double CalvixCv(SteamLibrary::Session& calvix, const SteamState& state) {
    LibraryCalls c(calvix, kCalvixNames);
    return c.Raw("STM_nCVtp", state.tempF, c.PressureOf(state, kPsiaPerAtmPrecise)) *
           kHeatCapacityPerKjPerKgK;
}

double CalvixSonicVelocity(SteamLibrary::Session& calvix, const SteamState& state) {
    LibraryCalls c(calvix, kCalvixNames);
    return c.Raw("STM_nWtp", state.tempF, c.PressureOf(state, kPsiaPerAtm)) * kFtPerM;
}

} // namespace quorvane::steam
