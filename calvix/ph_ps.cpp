#include "calvix/ph_ps.h"

#include "calvix/backward.h"
#include "calvix/constants.h"
#include "calvix/region3_density.h"
#include "calvix/regions.h"
#include "calvix/saturation.h"

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
std::int32_t ClassifyBelowRegion3(double pMPa, double x, Given given) {
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

// Region 5: bisection on T over [1073.15, 2273.15] K. Each step keeps the half whose end
// residual differs in sign from the midpoint's (a zero end residual counts as differing:
// the root is that end).
std::optional<double> BisectRegion5(double pMPa, double x, Given given) {
    double lo = kMaxTemp25;
    double hi = kMaxTemp;
    const bool inRange = pMPa > 0.0 && pMPa <= kMaxPress5 && At(Region5, lo, pMPa, given) <= x &&
                         x <= At(Region5, hi, pMPa, given);
    if (!inRange) {
        return std::nullopt;
    }
    auto differs = [](double end, double d) { return end == 0.0 || (end > 0.0) != (d > 0.0); };
    for (;;) {
        const double mid = (lo + hi) / 2.0;
        const double d = At(Region5, mid, pMPa, given) - x;
        if (std::fabs(d) < kTolerance) {
            return mid;
        }
        // A bracket that can no longer shrink would repeat this step for ever.
        if (mid == lo || mid == hi) {
            return std::nullopt;
        }
        if (differs(At(Region5, hi, pMPa, given) - x, d)) {
            lo = mid;
        } else if (differs(At(Region5, lo, pMPa, given) - x, d)) {
            hi = mid;
        } else {
            return std::nullopt;
        }
    }
}

// Region 3: bisection on T over [623.15 K, T23(p)], with a density search at every step.
// The density is searched to full precision: with the standard 1e-5 MPa the density, and
// with it h or s, jumps between neighbouring temperatures by more than 1e-5, and the
// bisection could stall short of its tolerance and report a valid state as a failure.
std::optional<double> BisectRegion3(double pMPa, double x, Given given) {
    if (!(pMPa >= B23Pressure(kRegion13Temp) && pMPa <= kMaxPress)) {
        return std::nullopt;
    }
    double lo = kRegion13Temp;
    double hi = B23Temperature(pMPa);
    for (int k = 0; k < kMaxBisections; ++k) {
        const double mid = (lo + hi) / 2.0;
        const std::optional<double> rho = Region3Density(mid, pMPa, DensitySearch::Precise);
        if (!rho) {
            return std::nullopt;
        }
        const double d = Pick(Region3(*rho, mid), given) - x;
        if (std::fabs(d) < kTolerance) {
            return mid;
        }
        if (mid == lo || mid == hi) {
            return std::nullopt; // no progress possible: every further step repeats this one
        }
        if (d >= 0.0) {
            hi = mid;
        } else {
            lo = mid;
        }
    }
    return std::nullopt;
}

double Backward2(double pMPa, double x, Given given) {
    if (given == Given::Enthalpy) {
        if (pMPa <= kSubregion2aMaxPress) {
            return BackwardT2aph(pMPa, x);
        }
        return x >= B2bcEnthalpy(pMPa) ? BackwardT2bph(pMPa, x) : BackwardT2cph(pMPa, x);
    }
    if (pMPa <= kSubregion2aMaxPress) {
        return BackwardT2aps(pMPa, x);
    }
    return x >= kSubregion2bMinEntropy ? BackwardT2bps(pMPa, x) : BackwardT2cps(pMPa, x);
}

std::optional<double> Temperature(double pMPa, double x, Given given) {
    std::optional<double> t;
    switch (Classify(pMPa, x, given)) {
    case kPhaseLiquid:
        t = given == Given::Enthalpy ? BackwardT1ph(pMPa, x) : BackwardT1ps(pMPa, x);
        break;
    case kPhaseVapour:
        t = Backward2(pMPa, x, given);
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
