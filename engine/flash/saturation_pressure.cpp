// Bubble- and dew-point pressures at a given temperature.

#include "common/precision.h"
#include "engine/eos/checked_math.h"
#include "engine/eos/k_estimates.h"
#include "engine/flash/flash_steps.h"
#include "engine/flash/rachford_rice.h"
#include "engine/flash/saturation.h"

#include <cmath>
#include <string>

namespace quorvane {

namespace {

constexpr double kPressureProbe = 0.015;      // psia, for the numerical dK/dP
constexpr double kLargestPressureStep = 25.0; // psia per pass
constexpr double kPressureFloor = 1e-06;

// K′ − K for the probe pressure. The logarithms differ by a small δ, and K·(e^δ − 1) by its
// series gives the difference without one more exponential (and without the cancellation of
// two nearly equal rounded values); a large δ or a coefficient at its floor takes K′ itself.
double KChange(double k, double lnL, double lnV, double lnL2, double lnV2, double& k2) {
    const double delta = (lnL2 - lnV2) - (lnL - lnV);
    const bool regular = lnL >= detail::kLnUnderflow && lnV >= detail::kLnUnderflow &&
                         lnL2 >= detail::kLnUnderflow && lnV2 >= detail::kLnUnderflow;
    if (regular && std::fabs(delta) < 1e-3) {
        const double expm1 =
            delta * (1.0 + delta / 2.0 * (1.0 + delta / 3.0 * (1.0 + delta / 4.0)));
        k2 = k + k * expm1;
        return k * expm1;
    }
    k2 = detail::KFromLogs(lnL2, lnV2);
    return k2 - k;
}

double Sign(double v) {
    return v > 0.0 ? 1.0 : (v < 0.0 ? -1.0 : 0.0);
}

} // namespace

namespace detail {

void FlagSaturationOutcome(FlashResults& out, std::span<const float> feed, bool passLimit,
                           int limit, double residual, const char* what, const char* given) {
    out.residual = residual;
    if (passLimit) {
        detail::MarkUnconverged(out, residual,
                                std::string("The ") + what + " did not converge in " +
                                    std::to_string(limit) + " passes.");
        return;
    }
    switch (detail::CheckSplitOutcome(out, feed)) {
    case SplitOutcome::Sound:
        break;
    case SplitOutcome::Unphysical:
        detail::MarkUnconverged(out, residual,
                                std::string("The ") + what +
                                    " ended on compositions or K-values that are not physical.");
        break;
    case SplitOutcome::PureSupercritical:
        detail::MarkUnconverged(out, residual,
                                std::string("No saturation point at this ") + given +
                                    ": the component is above its critical point, where liquid "
                                    "and vapour are one fluid.");
        break;
    case SplitOutcome::Trivial:
        detail::MarkUnconverged(out, residual,
                                std::string("No saturation point at this ") + given + ": the " +
                                    what +
                                    " settled on a trivial solution (the incipient phase equals "
                                    "the feed): the mixture is above its critical region here, or "
                                    "the iteration lost the incipient phase.");
        break;
    }
}

} // namespace detail

void BubblePressure(const FlashMixture& mixture, std::span<const float> x, float tempF,
                    FlashResults& out, FlashState& state, SaturationFlags flags) {
    detail::CheckMixture(mixture, x);
    const int n = static_cast<int>(x.size());
    detail::BindMixture(mixture, state);
    out.Prepare(n);
    auto& ws = state.work;
    std::span<float> y(out.y);
    std::span<double> lnPhiL(ws.lnPhiL.data(), n), lnPhiV(ws.lnPhiV.data(), n);
    std::span<double> lnPhiL2(ws.lnPhiL2.data(), n), lnPhiV2(ws.lnPhiV2.data(), n);
    std::span<double> k(ws.k.data(), n), k2(ws.k2.data(), n);
    for (int i = 0; i < n; ++i) {
        out.x[i] = x[i];
    }

    float p = 0.0F;
    if (!flags.start) {
        std::span<double> v(ws.v.data(), n);
        double sum = 0.0;
        for (int i = 0; i < n; ++i) {
            v[i] = VapourPressureEstimate(tempF, mixture.tcF[i], mixture.pcPsia[i], mixture.w[i],
                                          mixture.vapourPressure[i], x[i]);
            sum += x[i] * v[i];
        }
        p = checked::Single(sum, "bubble pressure estimate out of range");
        if (p != 0.0F) {
            for (int i = 0; i < n; ++i) {
                y[i] = checked::Single(x[i] * v[i] / p, "vapour composition out of range");
            }
            NormalizeFractions(y);
        }
    } else {
        p = state.previous.pressPsia;
        for (int i = 0; i < n; ++i) {
            y[i] = state.previous.y[i];
        }
    }

    int pass = 0;
    double s = 0.0;
    double pOld = 0.0;
    do {
        ++pass;
        const float pProbe = ToSingle(static_cast<double>(p) + kPressureProbe);
        // ln φ at P and at P + 0.015 psia; the compositions' mixture terms are shared.
        out.liquidZ = detail::EvaluateLogPhase<float>(state, Phase::Liquid, tempF, p, x, lnPhiL);
        out.vapourZ = detail::EvaluateLogPhase<float>(state, Phase::Vapour, tempF, p, y, lnPhiV);
        detail::EvaluateLogPhase<float>(state, Phase::Liquid, tempF, pProbe, x, lnPhiL2);
        detail::EvaluateLogPhase<float>(state, Phase::Vapour, tempF, pProbe, y, lnPhiV2);
        s = 0.0;
        double d = 0.0;
        for (int i = 0; i < n; ++i) {
            k[i] = detail::KFromLogs(lnPhiL[i], lnPhiV[i]);
            y[i] = checked::Single(k[i] * x[i], "vapour composition out of range");
            s += k[i] * x[i];
            d += x[i] * (KChange(k[i], lnPhiL[i], lnPhiV[i], lnPhiL2[i], lnPhiV2[i], k2[i]) /
                         kPressureProbe);
        }
        NormalizeFractions(y);
        if (std::fabs(d) < 1e-05) {
            // A derivative of exactly 0 keeps the positive floor: the step stays finite.
            d = d < 0.0 ? -1e-05 : 1e-05;
        }
        const double step = (s - 1.0) / d;
        pOld = p;
        double pNew = std::fabs(step) < kLargestPressureStep
                          ? p - step
                          : p - kLargestPressureStep * Sign(step);
        if (pNew <= 0.0) {
            pNew = kPressureFloor;
        }
        p = checked::Single(pNew, "bubble pressure out of range");
    } while (pass <= 200 && std::fabs(p - pOld) >= 0.001 &&
             (pass <= 2 || std::fabs(s - 1.0) >= 1e-05));

    for (int i = 0; i < n; ++i) {
        out.k[i] = checked::Single(k[i], "K-value out of range");
    }
    out.pressPsia = p;
    out.iterations = static_cast<std::int16_t>(pass);
    const bool settled = std::fabs(p - pOld) < 0.001 || (pass > 2 && std::fabs(s - 1.0) < 1e-05);
    detail::FlagSaturationOutcome(out, x, !settled, 200, std::fabs(s - 1.0),
                                  "bubble-point pressure", "temperature");
}

void DewPressure(const FlashMixture& mixture, std::span<const float> y, float tempF,
                 FlashResults& out, FlashState& state, SaturationFlags flags) {
    detail::CheckMixture(mixture, y);
    const int n = static_cast<int>(y.size());
    detail::BindMixture(mixture, state);
    out.Prepare(n);
    auto& ws = state.work;
    std::span<float> x(out.x);
    std::span<double> lnPhiL(ws.lnPhiL.data(), n), lnPhiV(ws.lnPhiV.data(), n);
    std::span<double> k(ws.k.data(), n);
    for (int i = 0; i < n; ++i) {
        out.y[i] = y[i];
    }

    float p = 0.0F;
    if (!flags.start) {
        std::span<double> v(ws.v.data(), n);
        double sum = 0.0;
        for (int i = 0; i < n; ++i) {
            v[i] = VapourPressureEstimate(tempF, mixture.tcF[i], mixture.pcPsia[i], mixture.w[i],
                                          mixture.vapourPressure[i], y[i]);
            if (y[i] != 0.0F) { // an absent component adds nothing to the dew sum
                sum += checked::Div(y[i], v[i], "a component without a vapour pressure");
            }
        }
        p = checked::Single(checked::Div(1.0, sum, "dew pressure estimate"),
                            "dew pressure estimate out of range");
        if (p != 0.0F) {
            for (int i = 0; i < n; ++i) {
                x[i] = y[i] == 0.0F ? 0.0F
                                    : checked::Single(y[i] * static_cast<double>(p) / v[i],
                                                      "liquid composition out of range");
            }
            NormalizeFractions(x);
        }
    } else {
        p = state.previous.pressPsia;
        for (int i = 0; i < n; ++i) {
            x[i] = state.previous.x[i];
        }
    }

    int pass = 0;
    double s = 0.0;
    do {
        ++pass;
        out.liquidZ = detail::EvaluateLogPhase<float>(state, Phase::Liquid, tempF, p, x, lnPhiL);
        out.vapourZ = detail::EvaluateLogPhase<float>(state, Phase::Vapour, tempF, p, y, lnPhiV);
        s = 0.0;
        for (int i = 0; i < n; ++i) {
            k[i] = detail::KFromLogs(lnPhiL[i], lnPhiV[i]);
            const double xi = y[i] / k[i];
            x[i] = checked::Single(xi, "liquid composition out of range");
            s += xi;
        }
        NormalizeFractions(x);
        // The correction sharpens as the passes mount.
        const int e = pass < 100 ? 1 : pass < 200 ? 2 : pass < 300 ? 3 : 4;
        const double se = std::pow(s, e);
        double pNew = flags.direction ? p * se : checked::Div(p, se, "dew-point sum of zero");
        if (pNew <= 0.0) {
            pNew = kPressureFloor;
        }
        p = checked::Single(pNew, "dew pressure out of range");
    } while (pass <= 1000 && (pass <= 2 || std::fabs(s - 1.0) >= 1e-05));

    for (int i = 0; i < n; ++i) {
        out.k[i] = checked::Single(k[i], "K-value out of range");
    }
    out.pressPsia = p;
    out.iterations = static_cast<std::int16_t>(pass);
    detail::FlagSaturationOutcome(out, y, std::fabs(s - 1.0) >= 1e-05, 1000, std::fabs(s - 1.0),
                                  "dew-point pressure", "temperature");
}

} // namespace quorvane
