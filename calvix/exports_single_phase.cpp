// Exported single-phase functions of (T, p) and the functions of pressure with entropy
// or enthalpy.

#include "calvix/calvix.h"
#include "calvix/constants.h"
#include "calvix/export_support.h"
#include "calvix/ph_ps.h"
#include "calvix/region3_density.h"
#include "calvix/region_tp.h"
#include "calvix/regions.h"

#include <optional>

namespace calvix {
namespace {

// The state at the caller's (T, p), in the region the state belongs to. A state exactly on
// the saturation line is taken as saturated vapour: region 2 up to 623.15 K; above it the
// saturated vapour lies in region 3 (region 2 would be extrapolated past p23(T) there and
// miss the saturated vapour by several kJ/kg), so region 3 at the saturated vapour density.
// A state just outside the range (within rounding of a limit) is evaluated at the limit.
std::optional<Properties> StateTp(double t, double p) {
    const std::optional<double> tIn = Input(Quantity::Temperature, t);
    const std::optional<double> pIn = Input(Quantity::Pressure, p);
    if (!tIn || !pIn) {
        return std::nullopt;
    }
    const auto [tK, pMPa] = OntoTpRange(*tIn, *pIn);
    switch (RegionOfTp(tK, pMPa)) {
    case kRegion1:
        return Region1(tK, pMPa);
    case kRegion2:
        return Region2(tK, pMPa);
    case kRegion4: {
        if (tK <= kRegion13Temp) {
            return Region2(tK, pMPa);
        }
        const std::optional<double> rhoVapour = SaturatedVapourDensity(tK);
        if (!rhoVapour) {
            return std::nullopt;
        }
        return Region3(*rhoVapour, tK);
    }
    case kRegion3: {
        const std::optional<double> rho = Region3Density(tK, pMPa);
        if (!rho) {
            return std::nullopt;
        }
        return Region3(*rho, tK);
    }
    case kRegion5:
        return Region5(tK, pMPa);
    default:
        return std::nullopt;
    }
}

template <typename Field>
std::optional<double> FieldOf(const std::optional<Properties>& state, Field field) {
    if (!state) {
        return std::nullopt;
    }
    return field(*state);
}

// (p, x) in the caller's units with x an entropy or enthalpy: the internal pair when
// 0 < p < 100 MPa, else nothing. x is not required to be positive: h and s of the saturated
// liquid are slightly negative just above 273.15 K; the classifier refuses values below the
// formulation's range itself.
struct PressAnd {
    double pMPa;
    double x;
};

std::optional<PressAnd> OpenPressInput(double p, Quantity quantity, double x) {
    const std::optional<double> pMPa = Input(Quantity::Pressure, p);
    const std::optional<double> xInternal = Input(quantity, x);
    if (!pMPa || !xInternal || !(*pMPa > 0.0 && *pMPa < kMaxPress)) {
        return std::nullopt;
    }
    return PressAnd{*pMPa, *xInternal};
}

} // namespace
} // namespace calvix

using calvix::Properties;
using calvix::Quantity;

extern "C" {

CALVIX_API double STM_nDtp(double t, double p) {
    const auto rho =
        calvix::FieldOf(calvix::StateTp(t, p), [](const Properties& s) { return 1.0 / s.v; });
    return calvix::Answer(Quantity::Density, rho);
}

CALVIX_API double STM_nHtp(double t, double p) {
    const auto h = calvix::FieldOf(calvix::StateTp(t, p), [](const Properties& s) { return s.h; });
    return calvix::Answer(Quantity::Enthalpy, h);
}

CALVIX_API double STM_nStp(double t, double p) {
    const auto s =
        calvix::FieldOf(calvix::StateTp(t, p), [](const Properties& st) { return st.s; });
    return calvix::Answer(Quantity::Entropy, s);
}

CALVIX_API double STM_nCPtp(double t, double p) {
    const auto cp =
        calvix::FieldOf(calvix::StateTp(t, p), [](const Properties& s) { return s.cp; });
    return calvix::Answer(Quantity::HeatCapacity, cp);
}

CALVIX_API double STM_nCVtp(double t, double p) {
    const auto cv =
        calvix::FieldOf(calvix::StateTp(t, p), [](const Properties& s) { return s.cv; });
    return calvix::Answer(Quantity::HeatCapacity, cv);
}

CALVIX_API double STM_nWtp(double t, double p) {
    return calvix::AnswerPlain(
        calvix::FieldOf(calvix::StateTp(t, p), [](const Properties& s) { return s.w; }));
}

CALVIX_API double STM_nKtp(double t, double p) {
    return calvix::AnswerPlain(
        calvix::FieldOf(calvix::StateTp(t, p), [](const Properties& s) { return s.kappa; }));
}

CALVIX_API double STM_nTps(double p, double s) {
    const auto in = calvix::OpenPressInput(p, Quantity::Entropy, s);
    if (!in) {
        return calvix::kErrorValue;
    }
    return calvix::Answer(Quantity::Temperature, calvix::TemperaturePs(in->pMPa, in->x));
}

CALVIX_API double STM_nTph(double p, double h) {
    // The (p, h) classifier checks the ranges itself (it accepts p = 100 MPa).
    const std::optional<double> pMPa = calvix::Input(Quantity::Pressure, p);
    const std::optional<double> hInternal = calvix::Input(Quantity::Enthalpy, h);
    if (!pMPa || !hInternal) {
        return calvix::kErrorValue;
    }
    return calvix::Answer(Quantity::Temperature, calvix::TemperaturePh(*pMPa, *hInternal));
}

CALVIX_API int32_t STM_IsSat_ps(double p, double s) {
    const auto in = calvix::OpenPressInput(p, Quantity::Entropy, s);
    return in && calvix::IsTwoPhaseCode(calvix::ClassifyPs(in->pMPa, in->x)) ? 1 : 0;
}

CALVIX_API int32_t STM_IsSat_ph(double p, double h) {
    const auto in = calvix::OpenPressInput(p, Quantity::Enthalpy, h);
    return in && calvix::IsTwoPhaseCode(calvix::ClassifyPh(in->pMPa, in->x)) ? 1 : 0;
}

} // extern "C"
