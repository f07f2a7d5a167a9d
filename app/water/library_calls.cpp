#include "app/water/library_calls.h"

namespace quorvane::steam {

const LibraryNames kCalvixNames = {kCalvixError, "STM_sPt",  "STM_sTp",  "STM_sHtx",
                                   "STM_sStx",   "STM_sDtx", "STM_sXph", "STM_sXps",
                                   "STM_nDtp",   "STM_nHtp", "STM_nStp"};
const LibraryNames kDornelNames = {kDornelError, "STM_kPt",  "STM_kTp",  "STM_sEtw",
                                   "STM_sStw",   "STM_sXtw", "STM_sWep", "STM_sWsp",
                                   "STM_nXtp",   "STM_nEtp", "STM_nStp"};

namespace {

// Pressure just on the liquid or vapour side of the saturation line, relative: enough to leave
// rounding behind, too little to change any property.
constexpr double kSidePressure = 1e-9;

} // namespace

double LibraryCalls::Checked(double raw) const {
    return raw == m_names.errorValue || !std::isfinite(raw) ? NAN : raw;
}

double LibraryCalls::Raw(const char* name) {
    return Checked(m_session.Value(name));
}

double LibraryCalls::Raw(const char* name, double a) {
    return Checked(m_session.Value(name, a));
}

double LibraryCalls::Raw(const char* name, double a, double b) {
    return Checked(m_session.Value(name, a, b));
}

bool LibraryCalls::Test(const char* name, double a, double b) {
    return m_session.Flag(name, a, b) == 1;
}

double LibraryCalls::SatPress(double tempF) {
    return Raw(m_names.satPress, tempF) * kPsiaPerAtm;
}

double LibraryCalls::SatTemp(double psia) {
    return Raw(m_names.satTemp, Atm(psia));
}

double LibraryCalls::WetEnthalpy(double tempF, double x) {
    return Raw(m_names.wetEnthalpy, tempF, x) * kEnthalpyPerJPerKg;
}

double LibraryCalls::WetEntropy(double tempF, double x) {
    return Raw(m_names.wetEntropy, tempF, x) * kEntropyPerJPerKgK;
}

double LibraryCalls::WetVolume(double tempF, double x) {
    return Raw(m_names.wetVolume, tempF, x) * kMolarVolumePerSpecific;
}

double LibraryCalls::Volume(double tempF, double psia) {
    return Raw(m_names.volume, tempF, Atm(psia)) * kMolarVolumePerSpecific;
}

double LibraryCalls::Enthalpy(double tempF, double psia) {
    return Raw(m_names.enthalpy, tempF, Atm(psia)) * kEnthalpyPerJPerKg;
}

double LibraryCalls::Entropy(double tempF, double psia) {
    return Raw(m_names.entropy, tempF, Atm(psia)) * kEntropyPerJPerKgK;
}

void LibraryCalls::SingleAt(SteamState& st) {
    if (std::isnan(st.enthalpy)) {
        st.enthalpy = Enthalpy(st.tempF, st.pressPsia);
    }
    if (std::isnan(st.entropy)) {
        st.entropy = Entropy(st.tempF, st.pressPsia);
    }
    st.volume = Volume(st.tempF, st.pressPsia);
}

void LibraryCalls::SaturatedAt(SteamState& st) {
    st.saturated = true;
    if (std::isnan(st.enthalpy)) {
        st.enthalpy = WetEnthalpy(st.tempF, st.quality);
    }
    if (std::isnan(st.entropy)) {
        st.entropy = WetEntropy(st.tempF, st.quality);
    }
    const double x = st.quality;
    if (x > 0.0 && x < 1.0) {
        st.volume = (1.0 - x) * WetVolume(st.tempF, 0.0) + x * WetVolume(st.tempF, 1.0);
    } else if (x == 0.0 || x == 1.0) {
        st.volume = WetVolume(st.tempF, x);
    } else {
        st.volume = Volume(st.tempF, st.pressPsia);
    }
}

SteamState LibraryCalls::WetFromQuality(const SteamGiven& given) {
    SteamState st;
    if (given.pair == GivenPair::TX) {
        st.tempF = given.tempF;
        st.pressPsia = SatPress(st.tempF);
    } else {
        st.pressPsia = given.pressPsia;
        st.tempF = SatTemp(st.pressPsia);
    }
    st.quality = given.quality;
    SaturatedAt(st);
    return st;
}

SteamState LibraryCalls::WetFromTemperature(const SteamGiven& given, bool enthalpyGiven) {
    SteamState st;
    st.tempF = given.tempF;
    st.pressPsia = SatPress(st.tempF);
    const char* wet = enthalpyGiven ? m_names.wetEnthalpy : m_names.wetEntropy;
    const double raw = WithinSaturatedEnds(GivenRaw(given, enthalpyGiven), Raw(wet, st.tempF, 0.0),
                                           Raw(wet, st.tempF, 1.0));
    st.quality = Raw(enthalpyGiven ? m_names.qualityPh : m_names.qualityPs, Atm(st.pressPsia), raw);
    SetGiven(st, given, enthalpyGiven);
    SaturatedAt(st);
    return st;
}

double LibraryCalls::PressureOf(const SteamState& state, double psiaPerAtm) {
    if (!state.saturated || IsTwoPhase(state.quality)) {
        return state.pressPsia / psiaPerAtm;
    }
    const double side = state.quality < kTwoPhaseLow ? 1.0 + kSidePressure : 1.0 - kSidePressure;
    return Raw(m_names.satPress, state.tempF) * side;
}

} // namespace quorvane::steam
