#include "calvix/region3_density.h"

#include "calvix/constants.h"
#include "calvix/regions.h"
#include "calvix/saturation.h"

#include <cmath>

namespace calvix {
namespace {

constexpr int kSpinodalHalvings = 30;
constexpr int kMaxBisections = 32000;
constexpr double kPressTolerance = 0.00001; // MPa

// Bisection on ρ for p3(ρ, T) = target on [low, high], where p3 rises with ρ.
std::optional<double> BisectDensity(const Region3Isotherm& isotherm, double target, double low,
                                    double high, DensitySearch search = DensitySearch::Standard) {
    const bool precise = search == DensitySearch::Precise;
    for (int k = 0; k < kMaxBisections; ++k) {
        const double mid = (low + high) / 2.0;
        const double d = isotherm.Pressure(mid) - target;
        if (d == 0.0 || (!precise && std::fabs(d) < kPressTolerance)) {
            return mid;
        }
        // Once the midpoint equals an end the bracket can no longer shrink and every
        // further step would repeat this one: a precise search has converged (when it met
        // the tolerance), a standard one has failed.
        if (mid == low || mid == high) {
            if (precise && std::fabs(d) < kPressTolerance) {
                return mid;
            }
            return std::nullopt;
        }
        if (d >= 0.0) {
            high = mid;
        } else {
            low = mid;
        }
    }
    return std::nullopt;
}

bool InSaturationRange(double tK) {
    return tK >= kRegion13Temp && tK <= kCriticalTemp;
}

// 30 fixed halvings of [low, high] on the sign of (∂p/∂v)_T, returning the last midpoint.
// `unstableAbove` says on which side of the spinodal the unstable states (∂p/∂v ≥ 0) lie:
// above it on the liquid side, below it on the vapour side.
double SpinodalVolume(const Region3Isotherm& isotherm, double low, double high,
                      bool unstableAbove) {
    double mid = (low + high) / 2.0;
    for (int k = 0; k < kSpinodalHalvings; ++k) {
        mid = (low + high) / 2.0;
        if ((isotherm.DpDv(mid) >= 0.0) == unstableAbove) {
            high = mid;
        } else {
            low = mid;
        }
    }
    return mid;
}

double LiquidSpinodalVolume(const Region3Isotherm& isotherm) {
    return SpinodalVolume(isotherm, 0.0013, 1.0 / kCriticalDensity, true);
}

double VapourSpinodalVolume(const Region3Isotherm& isotherm) {
    return SpinodalVolume(isotherm, 1.0 / kCriticalDensity, 0.0089, false);
}

} // namespace

double LiquidSpinodalVolume(double tK) {
    return LiquidSpinodalVolume(Region3Isotherm(tK));
}

double VapourSpinodalVolume(double tK) {
    return VapourSpinodalVolume(Region3Isotherm(tK));
}

std::optional<double> SaturatedLiquidDensity(double tK) {
    if (!InSaturationRange(tK)) {
        return std::nullopt;
    }
    const Region3Isotherm isotherm(tK);
    return BisectDensity(isotherm, SaturationPressure(tK), 1.0 / LiquidSpinodalVolume(isotherm),
                         kRegion3MaxDensity);
}

std::optional<double> SaturatedVapourDensity(double tK) {
    if (!InSaturationRange(tK)) {
        return std::nullopt;
    }
    const Region3Isotherm isotherm(tK);
    return BisectDensity(isotherm, SaturationPressure(tK), kRegion3MinDensity,
                         1.0 / VapourSpinodalVolume(isotherm));
}

std::optional<double> Region3Density(double tK, double pMPa, DensitySearch search) {
    const bool inRange = tK >= kRegion13Temp && tK <= B23Temperature(kMaxPress) &&
                         pMPa >= B23Pressure(tK) && pMPa <= kMaxPress;
    if (!inRange) {
        return std::nullopt;
    }
    const Region3Isotherm isotherm(tK);
    if (tK >= kCriticalTemp) {
        return BisectDensity(isotherm, pMPa, kRegion3MinDensity, kRegion3MaxDensity, search);
    }
    if (pMPa < SaturationPressure(tK)) {
        return BisectDensity(isotherm, pMPa, kRegion3MinDensity,
                             1.0 / VapourSpinodalVolume(isotherm), search);
    }
    return BisectDensity(isotherm, pMPa, 1.0 / LiquidSpinodalVolume(isotherm), kRegion3MaxDensity,
                         search);
}

} // namespace calvix
