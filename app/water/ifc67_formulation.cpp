// The state and heat capacities of the IFC-67 formulation, through Dornel. Cv and the speed of
// sound come from Calvix (IF97) in this formulation too.

#include "app/water/library_calls.h"
#include "app/water/steam_formulation.h"

namespace quorvane::steam {

namespace {

// The critical point of the 1967 formulation.
constexpr double kCriticalTempF = 647.3 * 1.8 - 459.67;
constexpr double kCriticalPressPsia = 22.12e6 / 101325.0 * kPsiaPerAtm;

double Quality(double tempF, double pressPsia, double tSatF) {
    return SinglePhaseQuality(tempF, pressPsia, tSatF, kCriticalTempF, kCriticalPressPsia);
}

// (P, H) or (P, S), decided against the saturated values at P: above the vapour's the state is
// superheated, its temperature from Dornel's search in the vapour; below the liquid's it is
// liquid, which Dornel finds from entropy only; between them it is wet. Where P has no
// saturated values (above the critical pressure) the state counts as above them.
SteamState PressureAnd(LibraryCalls& c, const SteamGiven& given, bool enthalpyGiven) {
    SteamState st;
    st.pressPsia = given.pressPsia;
    SetGiven(st, given, enthalpyGiven);
    const double p = LibraryCalls::Atm(st.pressPsia);
    const char* wet = enthalpyGiven ? "STM_sEpw" : "STM_sSpw";
    const double liquid = c.Raw(wet, p, 0.0);
    const double vapourEnd = c.Raw(wet, p, 1.0);
    const double raw = OntoSaturatedEnds(GivenRaw(given, enthalpyGiven), liquid, vapourEnd);
    const bool vapour = !(vapourEnd >= raw);
    if (vapour || liquid > raw) {
        if (!vapour && enthalpyGiven) {
            RefuseCompressedLiquid();
        }
        const double tempF = c.Raw(enthalpyGiven ? "STM_2Tep" : "STM_nTsp", p, raw);
        const double tSat = c.SatTemp(st.pressPsia);
        st.tempF = std::isfinite(tSat) ? OnSide(tempF, tSat, vapour) : tempF;
        st.quality =
            std::isfinite(tSat) ? (vapour ? 1.0 : 0.0) : Quality(st.tempF, st.pressPsia, tSat);
        c.SingleAt(st);
        return st;
    }
    st.tempF = c.SatTemp(st.pressPsia);
    st.quality = c.Raw(enthalpyGiven ? "STM_sWep" : "STM_sWsp", p, raw);
    c.SaturatedAt(st);
    return st;
}

// (T, P): a single-phase state; its side of the saturation line gives the quality.
SteamState TemperaturePressure(LibraryCalls& c, const SteamGiven& given) {
    SteamState st;
    st.tempF = given.tempF;
    st.pressPsia = given.pressPsia;
    c.SingleAt(st);
    // The saturation temperature rounded to four decimals decides the side.
    const double tSat = std::round(c.SatTemp(st.pressPsia) * 1e4) / 1e4;
    st.quality = Quality(st.tempF, st.pressPsia, tSat);
    return st;
}

} // namespace

SteamState CompleteIfc67(SteamLibrary::Session& dornel, const SteamGiven& given) {
    LibraryCalls c(dornel, kDornelNames);
    return CompleteState(c, given, TemperaturePressure, PressureAnd);
}

HeatCapacities Ifc67HeatCapacities(SteamLibrary::Session& dornel, SteamLibrary::Session& calvix,
                                   const SteamState& state) {
    if (IsTwoPhase(state.quality)) {
        return {0.0, 0.0};
    }
    LibraryCalls c(dornel, kDornelNames);
    if (state.saturated && state.quality < kTwoPhaseLow) {
        return {SaturatedLiquidCp(state.tempF, c.Raw("STM_GetMinTemp"),
                                  [&](double t) { return c.WetEnthalpy(t, 0.0); }),
                CalvixCv(calvix, state)};
    }
    return {c.Raw("STM_nCtp", state.tempF, c.PressureOf(state, kPsiaPerAtmPrecise)) /
                kJPerKgKPerHeatCapacity,
            CalvixCv(calvix, state)};
}

} // namespace quorvane::steam
