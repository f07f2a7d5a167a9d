#include "calvix/ph_ps.h"

#include "calvix/backward.h"
#include "calvix/constants.h"
#include "calvix/limits.h"
#include "calvix/region3_density.h"
#include "calvix/regions.h"
#include "calvix/saturation.h"

#include <algorithm>
#include <cmath>

namespace calvix {
namespace {

// The classifiers and searches are the same for enthalpy and entropy; Given says which
// property the caller's second value is.
enum class Given { Enthalpy, Entropy };

constexpr int kMaxBisections = 32000;
constexpr double kTolerance = 0.00001;          // kJ/kg or kJ/(kg K)
constexpr double kSubregion2aMaxPress = 4.0;    // MPa
constexpr double kSubregion2bMinEntropy = 5.85; // kJ/(kg K), 2b/2c split of T(p, s)

double Pick(const Properties& state, Given given) {
    return given == Given::Enthalpy ? state.h : state.s;
}

using GibbsRegion = Properties (*)(double, double);

double At(GibbsRegion region, double tK, double pMPa, Given given) {
    return Pick(region(tK, pMPa), given);
}

// Common tail below psat(623.15 K): vapour, wet or liquid against the saturated values.
// Below psat(273.15 K) the saturation temperature lies under the lowest temperature of the
// formulation, so there is no liquid and no wet steam there: only region 2 from 273.15 K up.
std::int32_t ClassifyBelowRegion3(double pMPa, double x, Given given) {
    if (pMPa < SaturationPressure(kMinTemp)) {
        return x >= At(Region2, kMinTemp, pMPa, given) ? kPhaseVapour : kErrorCode;
    }
    const double ts = SaturationTemperature(pMPa);
    if (x >= At(Region2, ts, pMPa, given)) {
        return kPhaseVapour;
    }
    if (x > At(Region1, ts, pMPa, given)) {
        return kPhaseWet;
    }
    return x >= At(Region1, kMinTemp, pMPa, given) ? kPhaseLiquid : kErrorCode;
}

// Pressures above psat(623.15 K), where the states between regions 1 and 2 lie in
// region 3. Below pc the saturated states of region 3 are checked before the region 1
// bound, as they decide the wet states in the narrow band where the saturated liquid of
// region 3 and the region 1 value at 623.15 K differ by their small inconsistency.
std::int32_t ClassifyAboveRegion1(double pMPa, double x, Given given) {
    if (x > At(Region2, kMaxTemp25, pMPa, given)) {
        return kErrorCode;
    }
    if (x >= At(Region2, B23Temperature(pMPa), pMPa, given)) {
        return kPhaseVapour;
    }
    std::int32_t candidate = kPhaseSupercritical;
    if (pMPa < kCriticalPress) {
        const double ts = SaturationTemperature(pMPa);
        const std::optional<double> rhoVapour = SaturatedVapourDensity(ts);
        if (!rhoVapour) {
            return kErrorCode;
        }
        if (x > Pick(Region3(*rhoVapour, ts), given)) {
            return kPhaseDenseVapour;
        }
        const std::optional<double> rhoLiquid = SaturatedLiquidDensity(ts);
        if (!rhoLiquid) {
            return kErrorCode;
        }
        if (x >= Pick(Region3(*rhoLiquid, ts), given)) {
            return kPhaseWetNearCritical;
        }
        candidate = kPhaseDenseLiquid;
    }
    if (x > At(Region1, kRegion13Temp, pMPa, given)) {
        return candidate;
    }
    return x >= At(Region1, kMinTemp, pMPa, given) ? kPhaseLiquid : kErrorCode;
}

std::int32_t Classify(double pMPa, double x, Given given) {
    if (!(pMPa > 0.0) || !std::isfinite(x)) {
        return kErrorCode;
    }
    if (pMPa < kMaxPress5) {
        if (x > At(Region5, kMaxTemp, pMPa, given)) {
            return kErrorCode;
        }
        if (x >= At(Region2, kMaxTemp25, pMPa, given)) {
            return kPhaseHotVapour;
        }
        return ClassifyBelowRegion3(pMPa, x, given);
    }
    if (pMPa > kMaxPress) {
        return kErrorCode;
    }
    if (pMPa > SaturationPressure(kRegion13Temp)) {
        return ClassifyAboveRegion1(pMPa, x, given);
    }
    if (x > At(Region2, kMaxTemp25, pMPa, given)) {
        return kErrorCode;
    }
    return ClassifyBelowRegion3(pMPa, x, given);
}

// Bisection on T over [lo, hi] for a Gibbs region, the value lying between the region's
// values at the ends. Each step keeps the half whose end residual differs in sign from the
// midpoint's (a zero end residual counts as differing: the root is that end).
std::optional<double> BisectGibbs(GibbsRegion region, double lo, double hi, double pMPa, double x,
                                  Given given) {
    auto differs = [](double end, double d) { return end == 0.0 || (end > 0.0) != (d > 0.0); };
    for (;;) {
        const double mid = (lo + hi) / 2.0;
        const double d = At(region, mid, pMPa, given) - x;
        if (std::fabs(d) < kTolerance) {
            return mid;
        }
        // A bracket that can no longer shrink would repeat this step for ever.
        if (mid == lo || mid == hi) {
            return std::nullopt;
        }
        if (differs(At(region, hi, pMPa, given) - x, d)) {
            lo = mid;
        } else if (differs(At(region, lo, pMPa, given) - x, d)) {
            hi = mid;
        } else {
            return std::nullopt;
        }
    }
}

// Region 5: bisection on T over [1073.15, 2273.15] K.
std::optional<double> BisectRegion5(double pMPa, double x, Given given) {
    if (!(pMPa > 0.0 && pMPa <= kMaxPress5)) {
        return std::nullopt;
    }
    // Regions 2 and 5 agree at 1073.15 K only to within their small inconsistency (up to
    // about 0.02 kJ/kg). A value the classifier gives to region 5, at or above region 2's
    // value there, but below region 5's own is the boundary state itself.
    const double atLo = At(Region5, kMaxTemp25, pMPa, given);
    if (x < atLo && x >= At(Region2, kMaxTemp25, pMPa, given)) {
        return kMaxTemp25;
    }
    if (!(atLo <= x && x <= At(Region5, kMaxTemp, pMPa, given))) {
        return std::nullopt;
    }
    return BisectGibbs(Region5, kMaxTemp25, kMaxTemp, pMPa, x, given);
}

// Region 3: bisection on T over [623.15 K, T23(p)], with a density search at every step.
// The density is searched to full precision: with the standard 1e-5 MPa the density, and
// with it h or s, jumps between neighbouring temperatures by more than 1e-5, and the
// bisection could stall short of its tolerance and report a valid state as a failure.
// Along the isobar h and s of region 3 are then continuous but for one jump, at the
// saturation temperature below pc. A search that closes in on a temperature without meeting
// the value has found such a jump or an end of region 3, and that temperature is the answer:
// - the ends: regions 1 and 3 meet at 623.15 K, and regions 3 and 2 on the B23 line, only
//   to within their small inconsistencies (up to about 0.05 kJ/kg), and a value between is
//   region 3 to the classifier;
// - the saturation jump: a saturated state the classifier sees as single-phase, because the
//   saturated densities it compares with are found only to the standard tolerance (the
//   saturated vapour of STM_nHtp(T, psat(T)) is one).
std::optional<double> BisectRegion3(double pMPa, double x, Given given) {
    if (!(pMPa >= B23Pressure(kRegion13Temp) && pMPa <= kMaxPress)) {
        return std::nullopt;
    }
    const double tHigh = B23Temperature(pMPa);
    double lo = kRegion13Temp;
    double hi = tHigh;
    for (int k = 0; k < kMaxBisections; ++k) {
        const double mid = (lo + hi) / 2.0;
        const std::optional<double> rho = Region3Density(mid, pMPa, DensitySearch::Precise);
        if (!rho) {
            // Next to the B23 line the density search may refuse a midpoint whose p23
            // rounds above p: the search is closing in on the line.
            return hi == tHigh && lo != kRegion13Temp ? std::optional(tHigh) : std::nullopt;
        }
        const double d = Pick(Region3(*rho, mid), given) - x;
        if (std::fabs(d) < kTolerance || mid == lo || mid == hi) {
            return mid;
        }
        if (d >= 0.0) {
            hi = mid;
        } else {
            lo = mid;
        }
    }
    return std::nullopt;
}

// Region 2: the backward equations. Below psat(273.15 K) the one for T(p, s) of subregion
// 2a leaves the range it was fitted to (1 K off at 100 Pa, tens of kelvin at 10 Pa), so
// there T is found by bisection on region 2 over [273.15, 1073.15] K instead; the
// classifier has already put s between the region 2 values at these ends.
std::optional<double> Region2Temperature(double pMPa, double x, Given given) {
    if (given == Given::Entropy && pMPa < SaturationPressure(kMinTemp)) {
        return BisectGibbs(Region2, kMinTemp, kMaxTemp25, pMPa, x, given);
    }
    if (given == Given::Enthalpy) {
        if (pMPa <= kSubregion2aMaxPress) {
            return BackwardT2aph(pMPa, x);
        }
        // The B2bc line starts at its lowest pressure n₅ = 4.5258 MPa; below that its
        // enthalpy form has no value (NaN, the root of a negative number) and the whole of
        // region 2 above 4 MPa is subregion 2b.
        const double hBc = B2bcEnthalpy(pMPa);
        return std::isnan(hBc) || x >= hBc ? BackwardT2bph(pMPa, x) : BackwardT2cph(pMPa, x);
    }
    if (pMPa <= kSubregion2aMaxPress) {
        return BackwardT2aps(pMPa, x);
    }
    return x >= kSubregion2bMinEntropy ? BackwardT2bps(pMPa, x) : BackwardT2cps(pMPa, x);
}

// A value just outside the formulation at this pressure (within rounding of a limit,
// limits.h) moved onto the limit: the value at 2273.15 K below 10 MPa and at 1073.15 K from
// 10 MPa up; at 273.15 K on region 2 below psat(273.15 K) and on region 1 above.
double OntoValueRange(double pMPa, double x, Given given) {
    const double high = pMPa < kMaxPress5 ? At(Region5, kMaxTemp, pMPa, given)
                                          : At(Region2, kMaxTemp25, pMPa, given);
    const double low = pMPa < SaturationPressure(kMinTemp) ? At(Region2, kMinTemp, pMPa, given)
                                                           : At(Region1, kMinTemp, pMPa, given);
    return OntoRange(x, low, high);
}

// The backward equations agree with the basic ones only to some tens of millikelvin, so a
// state at the edge of its region may be answered a little outside it (1073.15 K + 0.01 K,
// where no state of region 2 exists above 10 MPa). The answer is kept within the region's
// temperatures, which only brings it nearer the true one.
std::optional<double> WithinRegion(std::optional<double> t, double low, double high) {
    return t ? std::optional(std::clamp(*t, low, high)) : std::nullopt;
}

std::optional<double> Temperature(double pMPa, double x, Given given) {
    pMPa = OntoHigh(pMPa, kMaxPress);
    if (pMPa > 0.0 && pMPa <= kMaxPress && std::isfinite(x)) {
        x = OntoValueRange(pMPa, x, given);
    }
    std::optional<double> t;
    switch (Classify(pMPa, x, given)) {
    case kPhaseLiquid:
        t = WithinRegion(given == Given::Enthalpy ? BackwardT1ph(pMPa, x) : BackwardT1ps(pMPa, x),
                         kMinTemp, kRegion13Temp);
        break;
    case kPhaseVapour:
        t = WithinRegion(Region2Temperature(pMPa, x, given), kMinTemp, kMaxTemp25);
        break;
    case kPhaseHotVapour:
        t = BisectRegion5(pMPa, x, given);
        break;
    case kPhaseWet:
    case kPhaseWetNearCritical:
        t = SaturationTemperature(pMPa);
        break;
    case kPhaseSupercritical:
    case kPhaseDenseLiquid:
    case kPhaseDenseVapour:
        t = BisectRegion3(pMPa, x, given);
        break;
    default:
        return std::nullopt;
    }
    if (!t || !(*t > 0.0) || !std::isfinite(*t)) {
        return std::nullopt;
    }
    return t;
}

} // namespace

std::int32_t ClassifyPh(double pMPa, double h) {
    return Classify(pMPa, h, Given::Enthalpy);
}

std::int32_t ClassifyPs(double pMPa, double s) {
    return Classify(pMPa, s, Given::Entropy);
}

bool IsTwoPhaseCode(std::int32_t code) {
    return code == kPhaseWet || code == kPhaseWetNearCritical;
}

std::optional<double> TemperaturePh(double pMPa, double h) {
    return Temperature(pMPa, h, Given::Enthalpy);
}

std::optional<double> TemperaturePs(double pMPa, double s) {
    return Temperature(pMPa, s, Given::Entropy);
}

} // namespace calvix
