// Exported functions of the saturation line and of wet steam.

#include "calvix/calvix.h"
#include "calvix/constants.h"
#include "calvix/export_support.h"
#include "calvix/limits.h"
#include "calvix/saturated_states.h"
#include "calvix/saturation.h"

#include <algorithm>
#include <optional>

namespace calvix {
namespace {

// Lowest pressure of the saturation functions: psat at 273.15 K.
double MinSaturationPress() {
    return SaturationPressure(kMinTemp);
}

// The saturated states below the critical temperature (273.15 K ≤ T < Tc), for the
// functions of temperature. The upper end is open: there is no wet steam at Tc.
std::optional<SaturatedPair> SaturatedAtTemp(double tK) {
    tK = OntoLow(tK, kMinTemp);
    if (!(tK >= kMinTemp && tK < kCriticalTemp)) {
        return std::nullopt;
    }
    const double ps = SaturationPressure(tK);
    if (!(ps > 0.0)) {
        return std::nullopt;
    }
    return SaturatedStates(tK, ps);
}

// Wet steam of the caller's temperature and wetness or dryness: the saturated states and
// the wetness w. The raw x must lie in [0, 1]; the temperature range is checked with the
// saturated states.
struct WetSteam {
    SaturatedPair sat;
    double w;
};

std::optional<WetSteam> WetAtTemp(double t, double x) {
    const std::optional<double> tK = Input(Quantity::Temperature, t);
    if (!tK || !(x >= 0.0 && x <= 1.0)) {
        return std::nullopt;
    }
    const std::optional<double> w = Input(Quantity::WetDry, x);
    if (!w || !(*w >= 0.0)) {
        return std::nullopt;
    }
    const std::optional<SaturatedPair> sat = SaturatedAtTemp(*tK);
    if (!sat) {
        return std::nullopt;
    }
    return WetSteam{*sat, *w};
}

double Mix(double w, double liquid, double vapour) {
    return w * liquid + (1.0 - w) * vapour;
}

// Wet steam of the caller's pressure and entropy or enthalpy, for psat(273.15 K) ≤ p ≤ pc.
// The given value must lie between the saturated liquid and vapour values, counting the
// values within rounding of an end as that end (limits.h): a saturated state taken from the
// functions of temperature, psat(T) with h(T, 0) for instance, is computed at T rather than at
// Tsat(psat(T)) and may land a hair outside. Just above 273.15 K h' and s' are slightly
// negative, so the value itself may be negative.
enum class Given { Enthalpy, Entropy };

std::optional<WetSteam> WetAtPress(double p, double value, Given given) {
    const Quantity quantity = given == Given::Enthalpy ? Quantity::Enthalpy : Quantity::Entropy;
    const std::optional<double> pIn = Input(Quantity::Pressure, p);
    const std::optional<double> x = Input(quantity, value);
    if (!pIn || !x) {
        return std::nullopt;
    }
    const double pMin = MinSaturationPress();
    const double pMPa = OntoRange(*pIn, pMin, kCriticalPress);
    if (!(pMPa >= pMin && pMPa <= kCriticalPress)) {
        return std::nullopt;
    }
    const double ts = SaturationTemperature(pMPa);
    if (!(ts >= 0.0)) {
        return std::nullopt;
    }
    const std::optional<SaturatedPair> sat = SaturatedStates(ts, pMPa);
    if (!sat) {
        return std::nullopt;
    }
    const double liquid = given == Given::Enthalpy ? sat->liquid.h : sat->liquid.s;
    const double vapour = given == Given::Enthalpy ? sat->vapour.h : sat->vapour.s;
    if (!InsideBand(*x, liquid, vapour)) {
        return std::nullopt;
    }
    const double w = (vapour - *x) / (vapour - liquid);
    if (!std::isfinite(w)) {
        return std::nullopt;
    }
    return WetSteam{*sat, std::clamp(w, 0.0, 1.0)};
}

} // namespace
} // namespace calvix

using calvix::Quantity;

extern "C" {

CALVIX_API double STM_sPt(double t) {
    const std::optional<double> tIn = calvix::Input(Quantity::Temperature, t);
    if (!tIn) {
        return calvix::kErrorValue;
    }
    const double tK = calvix::OntoRange(*tIn, calvix::kMinTemp, calvix::kCriticalTemp);
    if (!(tK >= calvix::kMinTemp && tK <= calvix::kCriticalTemp)) {
        return calvix::kErrorValue;
    }
    const double ps = calvix::SaturationPressure(tK);
    if (!(ps > 0.0)) {
        return calvix::kErrorValue;
    }
    return calvix::Answer(Quantity::Pressure, ps);
}

CALVIX_API double STM_sTp(double p) {
    const std::optional<double> pIn = calvix::Input(Quantity::Pressure, p);
    if (!pIn) {
        return calvix::kErrorValue;
    }
    const double pMin = calvix::MinSaturationPress();
    const double pMPa = calvix::OntoRange(*pIn, pMin, calvix::kCriticalPress);
    if (!(pMPa >= pMin && pMPa <= calvix::kCriticalPress)) {
        return calvix::kErrorValue;
    }
    const double ts = calvix::SaturationTemperature(pMPa);
    if (!(ts >= 0.0)) {
        return calvix::kErrorValue;
    }
    return calvix::Answer(Quantity::Temperature, ts);
}

CALVIX_API double STM_sRt(double t) {
    const std::optional<double> tK = calvix::Input(Quantity::Temperature, t);
    if (!tK) {
        return calvix::kErrorValue;
    }
    const auto sat = calvix::SaturatedAtTemp(*tK);
    if (!sat) {
        return calvix::kErrorValue;
    }
    return calvix::Answer(Quantity::Enthalpy, sat->vapour.h - sat->liquid.h);
}

CALVIX_API double STM_sHtx(double t, double x) {
    const auto wet = calvix::WetAtTemp(t, x);
    if (!wet) {
        return calvix::kErrorValue;
    }
    return calvix::Answer(Quantity::Enthalpy,
                          calvix::Mix(wet->w, wet->sat.liquid.h, wet->sat.vapour.h));
}

CALVIX_API double STM_sDtx(double t, double x) {
    const auto wet = calvix::WetAtTemp(t, x);
    if (!wet) {
        return calvix::kErrorValue;
    }
    // Specific volumes mix by mass; the result is handed out as a density (code 71 turns
    // it back into the specific volume).
    const double v = calvix::Mix(wet->w, wet->sat.liquid.v, wet->sat.vapour.v);
    return calvix::Answer(Quantity::Density, 1.0 / v);
}

CALVIX_API double STM_sStx(double t, double x) {
    const auto wet = calvix::WetAtTemp(t, x);
    if (!wet) {
        return calvix::kErrorValue;
    }
    return calvix::Answer(Quantity::Entropy,
                          calvix::Mix(wet->w, wet->sat.liquid.s, wet->sat.vapour.s));
}

CALVIX_API double STM_sHps(double p, double s) {
    const auto wet = calvix::WetAtPress(p, s, calvix::Given::Entropy);
    if (!wet) {
        return calvix::kErrorValue;
    }
    return calvix::Answer(Quantity::Enthalpy,
                          calvix::Mix(wet->w, wet->sat.liquid.h, wet->sat.vapour.h));
}

CALVIX_API double STM_sXps(double p, double s) {
    const auto wet = calvix::WetAtPress(p, s, calvix::Given::Entropy);
    return wet ? calvix::Answer(Quantity::WetDry, wet->w) : calvix::kErrorValue;
}

CALVIX_API double STM_sXph(double p, double h) {
    const auto wet = calvix::WetAtPress(p, h, calvix::Given::Enthalpy);
    return wet ? calvix::Answer(Quantity::WetDry, wet->w) : calvix::kErrorValue;
}

} // extern "C"
