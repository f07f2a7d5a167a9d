#include "engine/eos/k_estimates.h"

#include "common/precision.h"
#include "engine/eos/checked_math.h"
#include "engine/eos/eos_parameters.h"

#include <cmath>

namespace quorvane {

namespace {

constexpr double kWilsonConstant = 5.3727;
constexpr double kSupercriticalCapPsia = 4000.0;

// Kelvin from °F, held in 32 bits.
float KelvinOf(float tempF) {
    return ToSingle((static_cast<double>(tempF) + kRankineOffset) / 1.8);
}

} // namespace

float VapourPressureEstimate(float tempF, float tcF, float pcPsia, float w,
                             const VapourPressureSet& vp, float zi) {
    if (tempF > tcF) {
        // Above the critical temperature the correlation does not apply: a Wilson-type
        // extrapolation weighted by the component's share of the feed, capped.
        const double ratio = (static_cast<double>(tcF) + kRankineOffset) /
                             (static_cast<double>(tempF) + kRankineOffset);
        double value = static_cast<double>(zi) * pcPsia *
                       checked::Exp(kWilsonConstant * (1.0 + w) * (1.0 - ratio),
                                    "supercritical vapour pressure out of range");
        if (value > kSupercriticalCapPsia) {
            value = kSupercriticalCapPsia;
        }
        return checked::Single(value, "supercritical vapour pressure out of range");
    }
    const double t = KelvinOf(tempF);
    const auto& c = vp.c;
    double lnP = 0.0;
    if (vp.code == 1) {
        lnP = c[0] - checked::Div(c[1], t + c[2], "vapour-pressure correlation at its pole");
    } else if (vp.code == 6) {
        lnP = c[0] + checked::Div(c[1], t, "vapour pressure at 0 K") +
              c[2] * checked::Log(t, "vapour pressure at a non-positive temperature") +
              c[3] * std::pow(t, static_cast<double>(c[4]));
    } else {
        return 0.0F;
    }
    return checked::Single(checked::Exp(lnP, "vapour pressure out of range") / kPascalPerPsi,
                           "vapour pressure out of range");
}

double WilsonK(float tempF, float pressPsia, float tcF, float pcPsia, float w) {
    const double tcR = RankineOf(tcF);
    const double tR = RankineOf(tempF);
    return (static_cast<double>(pcPsia) / pressPsia) *
           std::exp(kWilsonConstant * (1.0 + w) * (1.0 - tcR / tR));
}

float SaturationTemperatureK(float pressPsia, const VapourPressureSet& vp, double toleranceK) {
    const double pPa = ToSingle(static_cast<double>(pressPsia) * kPascalPerPsi);
    const auto& c = vp.c;
    if (vp.code == 1) {
        // Only a starting value: the inverse takes the decimal logarithm.
        const double t =
            checked::Div(c[1], c[0] - checked::Log(pPa, "non-positive pressure") / std::log(10.0),
                         "saturation temperature at the correlation's pole") -
            c[2];
        return checked::Single(t, "saturation temperature out of range");
    }
    if (vp.code != 6) {
        return 0.0F;
    }
    const double lnP = checked::Log(pPa, "non-positive pressure");
    float t = 50.0F;
    for (int step = 0; step < kSaturationNewtonLimit; ++step) {
        const double td = t;
        const double f = c[0] + c[1] / td + c[2] * checked::Log(td, "negative temperature") +
                         c[3] * std::pow(td, static_cast<double>(c[4])) - lnP;
        const double df = -c[1] / (td * td) + c[2] / td +
                          static_cast<double>(c[3]) * c[4] * std::pow(td, c[4] - 1.0);
        const float next = checked::Single(td - checked::Div(f, df, "flat vapour-pressure curve"),
                                           "saturation temperature out of range");
        const bool done = std::fabs(static_cast<double>(next) - td) < toleranceK;
        t = next;
        if (done) {
            break;
        }
    }
    return t;
}

} // namespace quorvane
