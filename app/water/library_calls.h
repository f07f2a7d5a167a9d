#pragma once

// The calls the calculator makes of a steam library, with the conversions between its working
// units (°F, atm, J/kg, J/(kg K), m³/kg, dryness) and the program's internal units. The two
// libraries offer the same quantities under different names; a refused call (the library's
// error value) gives NaN.

#include "app/water/steam_formulation.h"

namespace quorvane::steam {

// The names of one library's functions for each quantity.
struct LibraryNames {
    double errorValue;
    const char* satPress;    // saturation pressure from temperature
    const char* satTemp;     // saturation temperature from pressure
    const char* wetEnthalpy; // wet steam from temperature and quality
    const char* wetEntropy;
    const char* wetVolume;
    const char* qualityPh; // wet steam from pressure and enthalpy or entropy
    const char* qualityPs;
    const char* volume; // single phase from temperature and pressure
    const char* enthalpy;
    const char* entropy;
};

extern const LibraryNames kCalvixNames;
extern const LibraryNames kDornelNames;

class LibraryCalls {
public:
    LibraryCalls(SteamLibrary::Session& session, const LibraryNames& names)
        : m_session(session), m_names(names) {}

    static double Atm(double psia) { return psia / kPsiaPerAtm; }
    static double JPerKg(double enthalpy) { return enthalpy / kEnthalpyPerJPerKg; }
    static double JPerKgK(double entropy) { return entropy / kEntropyPerJPerKgK; }

    // The library's answer in its own units, or NaN.
    double Raw(const char* name);
    double Raw(const char* name, double a);
    double Raw(const char* name, double a, double b);
    bool Test(const char* name, double a, double b);

    // Internal units.
    double SatPress(double tempF);
    double SatTemp(double psia);
    double WetEnthalpy(double tempF, double x);
    double WetEntropy(double tempF, double x);
    double WetVolume(double tempF, double x);
    double Volume(double tempF, double psia);
    double Enthalpy(double tempF, double psia);
    double Entropy(double tempF, double psia);

    // Enthalpy and entropy (those not yet known) and volume of the single-phase state at its
    // T and P.
    void SingleAt(SteamState& st);

    // The same for the saturated state at its T and P and quality. The volume weights the
    // specific volumes of liquid and vapour by the quality; a quality outside [0, 1] takes the
    // single-phase volume at (T, P).
    void SaturatedAt(SteamState& st);

    // Wet steam from (T, X) or (P, X).
    SteamState WetFromQuality(const SteamGiven& given);
    // Wet steam from (T, H) or (T, S), which must lie between the saturated values at T (else
    // SteamRefusal: superheated steam or compressed liquid).
    SteamState WetFromTemperature(const SteamGiven& given, bool enthalpyGiven);

    // The pressure (atm, by `psiaPerAtm`) at which the single-phase functions see the state:
    // its own, or on the saturation line just on the side of the liquid or the vapour (exactly
    // on the line the libraries answer for the vapour).
    double PressureOf(const SteamState& state, double psiaPerAtm);

private:
    double Checked(double raw) const;

    SteamLibrary::Session& m_session;
    const LibraryNames& m_names;
};

// The state of a given pair: wet steam from a quality or from the temperature alike in both
// formulations, (T, P) and (P, H) or (P, S) by each formulation's own rules.
template <class FromTp, class FromPressure>
SteamState CompleteState(LibraryCalls& c, const SteamGiven& given, FromTp fromTp,
                         FromPressure fromPressure) {
    switch (given.pair) {
    case GivenPair::TP:
        return fromTp(c, given);
    case GivenPair::TX:
    case GivenPair::PX:
        return c.WetFromQuality(given);
    case GivenPair::TH:
    case GivenPair::TS:
        return c.WetFromTemperature(given, given.pair == GivenPair::TH);
    case GivenPair::PH:
    case GivenPair::PS:
        return fromPressure(c, given, given.pair == GivenPair::PH);
    }
    return {};
}

} // namespace quorvane::steam
