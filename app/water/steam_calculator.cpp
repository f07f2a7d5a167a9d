#include "app/water/steam_calculator.h"

#include "app/water/steam_formulation.h"
#include "app/water/water_transport.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

namespace quorvane {

namespace {

using steam::HeatCapacities;
using steam::SteamState;

// Working units: °F, atm, J/kg, J/(kg K), m³/kg, dryness, and kJ/(kg K) (Calvix) or J/(kg K),
// W/(m K), Pa s and N/m (Dornel).
constexpr SteamUnitSetting kCalvixUnits[] = {
    {"STM_SetTempUnit", 3, "Error Initializing Module:  Calvix, Temperature"},
    {"STM_SetPressUnit", 17, "Error Initializing Module:  Calvix, Pressure"},
    {"STM_SetEnthalUnit", 31, "Error Initializing Module:  Calvix, Enthalpy"},
    {"STM_SetEntroUnit", 51, "Error Initializing Module:  Calvix, Entropy"},
    {"STM_SetDensityUnit", 71, "Error Initializing Module:  Calvix, Specific Volume"},
    {"STM_SetWetDryUnit", 92, "Error Initializing Module:  Calvix, Quality"},
    {"STM_SetHCUnit", 102, "Error Initializing Module:  Calvix, Heat Capcity"},
};

constexpr SteamUnitSetting kDornelUnits[] = {
    {"STM_SetTempUnit", 3, "Error Initializing Module:  Zavid67, Temperature"},
    {"STM_SetPressUnit", 16, "Error Initializing Module:  Zavid67, Pressure"},
    {"STM_SetEntlUnit", 22, "Error Initializing Module:  Zavid67, Enthalpy"},
    {"STM_SetEntrUnit", 32, "Error Initializing Module:  Zavid67, Entropy"},
    {"STM_SetVolUnit", 41, "Error Initializing Module:  Zavid67, Specific Volume"},
    {"STM_SetWetDryUnit", 52, "Error Initializing Module:  Zavid67, Quality"},
    {"STM_SetHeatCapUnit", 62, "Error Initializing Module:  Zavid67, Heat Capacity"},
    {"STM_SetThermalConUnit", 72, "Error Initializing Module:  Zavid67, Thermal Conductivity"},
    {"STM_SetDynamicVisUnit", 82, "Error Initializing Module:  Zavid67, Dynamic Viscosity"},
    {"STM_SetSurTensionUnit", 91, "Error Initializing Module:  Zavid67, Surface Tension"},
};

// The range messages of each formulation.
struct RangeMessages {
    const char* tooHot;
    const char* tooCold;
};

RangeMessages RangeMessagesOf(SteamFormulation formulation) {
    if (formulation == SteamFormulation::If97) {
        return {"Temperature must be lower than 3632 F (2000 C).",
                "Temperature be greater than 32 F (0 C)."};
    }
    return {"Temperature must be lower than 1472 F (800 C).",
            "Temperature must be greater than 32.02 F (0.01 C)."};
}

// Values are stored in 32 bits: a temperature or pressure at a limit may differ from the
// library's limit by that rounding and still be the limit.
constexpr double kStoredRounding = 1e-6;

bool Above(double value, double limit) {
    return value > limit + kStoredRounding * std::fabs(limit);
}

bool Below(double value, double limit) {
    return value < limit - kStoredRounding * std::fabs(limit);
}

// The range of the formulation, read from its library: temperatures in °F, pressures in atm
// (times 14.696 to psia). A refused or missing limit checks nothing.
void CheckRange(SteamLibrary::Session& library, SteamFormulation formulation,
                const SteamState& st) {
    const QString title = FormulationLabel(formulation);
    const RangeMessages texts = RangeMessagesOf(formulation);
    auto refuse = [&](const char* text) {
        throw SteamRefusal(title, QString::fromUtf8(text), QMessageBox::Warning);
    };
    if (Above(st.tempF, library.Value("STM_GetMaxTemp"))) {
        refuse(texts.tooHot);
    }
    if (Below(st.tempF, library.Value("STM_GetMinTemp"))) {
        refuse(texts.tooCold);
    }
    if (Above(st.pressPsia, library.Value("STM_GetMaxPress") * steam::kPsiaPerAtmRange)) {
        refuse("Pressure must be lower than 14503.82 psia (100,000.32 kPa).");
    }
    if (Below(st.pressPsia, library.Value("STM_GetMinPress") * steam::kPsiaPerAtmRange)) {
        refuse("Pressure must be greater than 0 psia (0 kPa).");
    }
}

// Every value the library gave must be a value: an error value in the state (or a negative
// volume, which is how Dornel passes on a failed volume root) means a state outside the
// formulation.
void CheckComplete(SteamFormulation formulation, const SteamState& st) {
    const double values[] = {st.tempF,    st.pressPsia, st.quality,
                             st.enthalpy, st.entropy,   st.volume};
    const bool complete = std::all_of(std::begin(values), std::end(values),
                                      [](double v) { return std::isfinite(v); });
    if (!complete || !(st.volume > 0.0)) {
        throw SteamRefusal(FormulationLabel(formulation),
                           QStringLiteral("Conditions are outside the range of the formulation."),
                           QMessageBox::Critical);
    }
}

bool UsesQuality(GivenPair pair) {
    return pair == GivenPair::TX || pair == GivenPair::PX;
}

// Prandtl number from Cp (Btu/(lbmol °F)), viscosity (cP) and conductivity (Btu/(h ft °F)).
constexpr double kWaterMolecularWeight = 18.0153;
constexpr double kLbPerFtHrPerCp = 2.4190883105;

} // namespace

SteamRefusal::SteamRefusal(QString titleText, QString messageText, QMessageBox::Icon iconKind)
    : std::runtime_error(messageText.toStdString()), title(std::move(titleText)),
      text(std::move(messageText)), icon(iconKind) {}

std::optional<GivenPair> PairOfGiven(const std::array<bool, kWaterGivenCount>& ticked) {
    int first = -1;
    int second = -1;
    for (int i = 0; i < kWaterGivenCount && second < 0; ++i) {
        if (!ticked[static_cast<std::size_t>(i)]) {
            continue;
        }
        if (first < 0) {
            first = i;
        } else {
            second = i;
        }
    }
    // Temperature (0) or pressure (1) first, then anything after it.
    constexpr GivenPair kFromTemperature[] = {GivenPair::TP, GivenPair::TX, GivenPair::TH,
                                              GivenPair::TS};
    constexpr GivenPair kFromPressure[] = {GivenPair::PX, GivenPair::PH, GivenPair::PS};
    if (first == 0 && second > 0) {
        return kFromTemperature[second - 1];
    }
    if (first == 1 && second > 1) {
        return kFromPressure[second - 2];
    }
    return std::nullopt;
}

std::span<const SteamUnitSetting> CalvixUnits() {
    return kCalvixUnits;
}

std::span<const SteamUnitSetting> DornelUnits() {
    return kDornelUnits;
}

QString FormulationLabel(SteamFormulation formulation) {
    return formulation == SteamFormulation::If97 ? QStringLiteral("Dadez IFC-1997")
                                                 : QStringLiteral("Dadez IFC-1967");
}

namespace steam {

double SinglePhaseQuality(double tempF, double pressPsia, double tSatF, double criticalTempF,
                          double criticalPressPsia) {
    if (std::isfinite(tSatF)) {
        return tSatF < tempF ? 1.0 : 0.0;
    }
    if (pressPsia >= criticalPressPsia) {
        return tempF > criticalTempF ? 1.0 : 0.0;
    }
    return 1.0;
}

double OntoSaturatedEnds(double value, double liquid, double vapour) {
    // Twice the relative rounding of a 32-bit value, of the larger end.
    constexpr double kStoredRounding32 = 1.2e-7;
    const double slack = kStoredRounding32 * std::fmax(std::fabs(liquid), std::fabs(vapour));
    for (const double end : {liquid, vapour}) {
        if (std::fabs(value - end) <= slack) {
            return end;
        }
    }
    return value;
}

double WithinSaturatedEnds(double value, double liquid, double vapour) {
    const double onto = OntoSaturatedEnds(value, liquid, vapour);
    if (!(vapour >= onto)) {
        throw SteamRefusal(QStringLiteral("Dadez Properties"),
                           QStringLiteral("Superheated steam.  Use T & P inputs to determine \n"
                                          "steam properties."));
    }
    if (liquid > onto) {
        RefuseCompressedLiquid();
    }
    return onto;
}

void RefuseCompressedLiquid() {
    throw SteamRefusal(QStringLiteral("Dadez Properties"),
                       QStringLiteral("Compressed liquid.  Use T & P inputs to determine "
                                      "properties."));
}

double OnSide(double tempF, double tSatF, bool vapour) {
    // A millionth of a degree moves the pressure of the saturation line by some 1e-8 of itself:
    // well clear of rounding, far below anything shown.
    constexpr double kStepF = 1e-6;
    if (vapour && tempF <= tSatF) {
        return tSatF + kStepF;
    }
    if (!vapour && tempF >= tSatF) {
        return tSatF - kStepF;
    }
    return tempF;
}

} // namespace steam

std::array<double, kWaterFieldCount>
CalculateSteam(SteamFormulation formulation, const SteamGiven& given, SteamLibraries libraries) {
    if (UsesQuality(given.pair) && !(given.quality >= 0.0 && given.quality <= 1.0)) {
        throw SteamRefusal(QStringLiteral("Dadez Properties"),
                           QStringLiteral("The quality must lie between 0 (saturated liquid) and "
                                          "1 (saturated vapor). Enter a quality in that range and "
                                          "compute again."),
                           QMessageBox::Warning);
    }
    SteamState st;
    HeatCapacities hc;
    double sonic = NAN;
    if (formulation == SteamFormulation::If97) {
        SteamLibrary::Session calvix = libraries.calvix.Begin();
        st = steam::CompleteIf97(calvix, given);
        CheckRange(calvix, formulation, st);
        CheckComplete(formulation, st);
        hc = steam::If97HeatCapacities(calvix, st);
        sonic = steam::CalvixSonicVelocity(calvix, st);
    } else {
        // Dornel's lock is always taken before Calvix's.
        SteamLibrary::Session dornel = libraries.dornel.Begin();
        st = steam::CompleteIfc67(dornel, given);
        CheckRange(dornel, formulation, st);
        CheckComplete(formulation, st);
        SteamLibrary::Session calvix = libraries.calvix.Begin();
        hc = steam::Ifc67HeatCapacities(dornel, calvix, st);
        sonic = steam::CalvixSonicVelocity(calvix, st);
    }

    std::array<double, kWaterFieldCount> v{};
    v.fill(NAN);
    v[kWaterTemp] = st.tempF;
    v[kWaterPress] = st.pressPsia;
    v[kWaterQuality] = st.quality;
    v[kWaterEnthalpy] = st.enthalpy;
    v[kWaterEntropy] = st.entropy;
    v[kWaterVolume] = st.volume;
    v[kWaterDensity] = 1.0 / st.volume;
    v[kWaterCp] = hc.cp;
    v[kWaterCv] = hc.cv;
    const bool twoPhase = steam::IsTwoPhase(st.quality);
    const double density = v[kWaterDensity];
    v[kWaterViscosity] = twoPhase ? 0.0 : WaterViscosity(st.tempF, density);
    v[kWaterConductivity] = twoPhase ? 0.0 : WaterConductivity(st.tempF, density);
    v[kWaterSurfaceTension] =
        st.quality < steam::kTwoPhaseLow ? WaterSurfaceTension(st.tempF) : 0.0;
    v[kWaterSonicVelocity] = twoPhase ? 0.0 : sonic;
    if (!twoPhase) {
        v[kWaterPrandtl] = (hc.cp / kWaterMolecularWeight) * v[kWaterViscosity] * kLbPerFtHrPerCp /
                           v[kWaterConductivity];
    }
    if (hc.cv != 0.0) {
        v[kWaterCpCv] = hc.cp / hc.cv;
    }
    return v;
}

} // namespace quorvane
