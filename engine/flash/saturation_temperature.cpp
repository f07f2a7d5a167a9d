// Bubble- and dew-point temperatures at a given pressure.

#include "common/precision.h"
#include "engine/eos/checked_math.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/k_estimates.h"
#include "engine/flash/flash_steps.h"
#include "engine/flash/rachford_rice.h"
#include "engine/flash/saturation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace quorvane {

namespace {

constexpr float kLowestKelvin = 5.0F;
constexpr double kAbsoluteFloorF = -459.15;
constexpr double kFloorReplacementF = -459.0;

// Runs one step whose failure is stepped over (its target keeps its value).
template <typename Step>
void Try(Step&& step) {
    try {
        step();
    } catch (const EngineError&) {
    }
}

float KelvinToF(double kelvin) {
    return ToSingle((kelvin - 273.15) * 1.8 + 32.0);
}

// Σ c_i·T_sat,i (K) of the components at P, in °F; a component whose inverse fails keeps 0.
float WeightedSaturationTemperatureF(const FlashMixture& mixture, std::span<const float> c,
                                     float pressPsia, FlashState& state, double toleranceK) {
    const int n = static_cast<int>(c.size());
    auto& tSat = state.work.tSat;
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        tSat[i] = 0.0F;
        Try([&] {
            tSat[i] = SaturationTemperatureK(pressPsia, mixture.vapourPressure[i], toleranceK);
        });
        sum += static_cast<double>(c[i]) * tSat[i];
    }
    return KelvinToF(sum);
}

// The temperature (°F) at which the vapour-pressure estimates are taken: T, or the °F of 5 K
// when T lies below it.
float EstimateTemperatureF(float tempF) {
    const float kelvin = ToSingle((static_cast<double>(tempF) + 459.67) / 1.8);
    return kelvin < kLowestKelvin ? ToSingle(kLowestKelvin * 1.8 - 459.67) : tempF;
}

// ΔT = 15·(P/P_calc − 1), held within ±10 °F.
double VapourPressureStep(double p, double pCalc) {
    return std::clamp(15.0 * (p / pCalc - 1.0), -10.0, 10.0);
}

float FloorTemperature(double tempF) {
    return ToSingle(tempF < kAbsoluteFloorF ? kFloorReplacementF : tempF);
}

// The highest critical temperature (°F) of the components present in c (infinite when none
// is).
float HighestCriticalTemperatureF(const FlashMixture& mixture, std::span<const float> c) {
    float highest = -std::numeric_limits<float>::infinity();
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (c[i] > 0.0F) {
            highest = std::max(highest, mixture.tcF[i]);
        }
    }
    return std::isinf(highest) ? std::numeric_limits<float>::infinity() : highest;
}

// Whether the dew-point temperature's vapour-pressure stage, from t at its first pass, must climb
// past the highest critical temperature. Between two neighbouring critical temperatures of the
// components every estimate rises with temperature (a component's correlation up to its
// critical temperature, the extrapolation above it), so the dew-sum pressure on such a stretch
// is at most its value at the stretch's upper end. When those values all stay below the given
// pressure by more than the stage's tolerance, every pass of the stage raises the
// temperature, by at least 15·(P/P_max − 1) °F, and it passes the highest critical temperature
// within its 500 passes: the stage ends there, whatever it meets on the way.
bool StageClimbsPastEveryCriticalTemperature(const FlashMixture& mixture, std::span<const float> y,
                                             double p, float t, float highestTcF) {
    const int n = static_cast<int>(y.size());
    std::array<float, kMaxComponents> ends{};
    int count = 0;
    for (int i = 0; i < n; ++i) {
        if (y[i] > 0.0F && mixture.tcF[i] >= t) {
            ends[static_cast<std::size_t>(count++)] = mixture.tcF[i];
        }
    }
    std::sort(ends.begin(), ends.begin() + count);
    double highest = 0.0;
    try {
        for (int e = 0; e < count; ++e) {
            const float tEstimate = EstimateTemperatureF(ends[static_cast<std::size_t>(e)]);
            double sum = 0.0;
            for (int i = 0; i < n; ++i) {
                if (y[i] != 0.0F) {
                    const double v =
                        VapourPressureEstimate(tEstimate, mixture.tcF[i], mixture.pcPsia[i],
                                               mixture.w[i], mixture.vapourPressure[i], y[i]);
                    sum += checked::Div(y[i], v, "a component without a vapour pressure");
                }
            }
            const double pCalc = checked::Div(1.0, sum, "dew-point sum of zero");
            if (!(pCalc < p - 0.1)) {
                return false;
            }
            highest = std::max(highest, pCalc);
        }
    } catch (const EngineError&) {
        return false;
    }
    if (count == 0) {
        return false;
    }
    const double smallestStep = std::min(10.0, 15.0 * (p / highest - 1.0));
    if (!(smallestStep > 0.01)) {
        return false;
    }
    const double passes = std::ceil((static_cast<double>(highestTcF) - t) / smallestStep) + 1.0;
    return passes < 500.0;
}

// Ends a dew-point temperature whose vapour-pressure stage climbs above the critical temperature
// of every component of the vapour. No component has a vapour pressure there, so the first
// liquid of Raoult's law does not exist, and from there the main stage only settles on the
// trivial solution (the liquid equal to the vapour): the routine ends on that solution at
// once, at the temperature t it has reached. Both Z are those of the feed, on the roots the
// main stage would have taken.
void EndAboveEveryCriticalTemperature(FlashState& state, std::span<const float> y, float t,
                                      float pressPsia, int passes, FlashResults& out) {
    const int n = static_cast<int>(y.size());
    std::span<double> lnPhi(state.work.lnPhiL.data(), static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        out.x[i] = y[i];
        out.k[i] = 1.0F;
    }
    // Evaluated as the main stage would: a failure ends the routine as it would there.
    out.liquidZ = detail::EvaluateLogPhase<float>(state, Phase::Liquid, t, pressPsia, y, lnPhi);
    out.vapourZ = detail::EvaluateLogPhase<float>(state, Phase::Vapour, t, pressPsia, y, lnPhi);
    out.tempF = t;
    out.iterations = static_cast<std::int16_t>(passes);
    detail::MarkUnconverged(out, 0.0,
                            "No saturation point at this pressure: the estimate of the "
                            "dew-point temperature climbs above the critical temperature of "
                            "every component, where no liquid forms by Raoult's law, and the "
                            "iteration ends on the trivial solution (the incipient phase "
                            "equals the feed).");
}

} // namespace

void BubbleTemperature(const FlashMixture& mixture, std::span<const float> x, float pressPsia,
                       FlashResults& out, FlashState& state, SaturationFlags flags) {
    detail::CheckMixture(mixture, x);
    const int n = static_cast<int>(x.size());
    detail::BindMixture(mixture, state);
    out.Prepare(n);
    auto& ws = state.work;
    std::span<float> y(out.y);
    std::span<double> lnPhiL(ws.lnPhiL.data(), n), lnPhiV(ws.lnPhiV.data(), n);
    std::span<double> k(ws.k.data(), n), v(ws.v.data(), n);
    for (int i = 0; i < n; ++i) {
        out.x[i] = x[i];
        k[i] = v[i] = lnPhiL[i] = lnPhiV[i] = 0.0;
    }
    const double p = pressPsia;
    float t = 0.0F;
    if (!flags.start) {
        t = WeightedSaturationTemperatureF(mixture, x, pressPsia, state, 0.1);
        // Vapour-pressure stage: move T until Σ x_i·v_i(T) matches P.
        for (int pass = 0; pass < 1000; ++pass) {
            const float tEstimate = EstimateTemperatureF(t);
            double pCalc = 0.0;
            for (int i = 0; i < n; ++i) {
                Try([&] {
                    v[i] = VapourPressureEstimate(tEstimate, mixture.tcF[i], mixture.pcPsia[i],
                                                  mixture.w[i], mixture.vapourPressure[i], x[i]);
                });
                pCalc += x[i] * v[i];
            }
            if (pCalc == 0.0 || std::fabs(p - pCalc) <= 0.1) {
                break; // no component contributes, or P is matched
            }
            detail::StoreSingle(t, t + VapourPressureStep(p, pCalc));
        }
        // Wilson stage.
        double s = 0.0;
        for (int pass = 0; pass < 500; ++pass) {
            s = 0.0;
            for (int i = 0; i < n; ++i) {
                const double ki =
                    WilsonK(t, pressPsia, mixture.tcF[i], mixture.pcPsia[i], mixture.w[i]);
                if (std::isfinite(ki)) {
                    k[i] = ki;
                }
                s += x[i] * k[i];
            }
            if (!(std::fabs(s - 1.0) > 0.0001)) {
                break;
            }
            detail::StoreSingle(t, s > 1.0 ? t - (s - 1.0) / 2.0 : t + (1.0 - s) / 2.0);
        }
        for (int i = 0; i < n; ++i) {
            detail::StoreSingle(y[i], k[i] * x[i] / s);
        }
        NormalizeFractions(y);
    } else {
        t = state.previous.tempF;
        for (int i = 0; i < n; ++i) {
            y[i] = state.previous.y[i];
        }
    }

    // Main stage on the equation-of-state K-values.
    const double c = p < 250.0 ? 5.0 : p < 500.0 ? 100.0 : p < 1000.0 ? 200.0 : 500.0;
    int pass = 0;
    double s = 0.0;
    float tNew = t;
    for (;;) {
        ++pass;
        Try([&] {
            out.liquidZ =
                detail::EvaluateLogPhase<float>(state, Phase::Liquid, t, pressPsia, x, lnPhiL);
        });
        Try([&] {
            out.vapourZ =
                detail::EvaluateLogPhase<float>(state, Phase::Vapour, t, pressPsia, y, lnPhiV);
        });
        s = 0.0;
        for (int i = 0; i < n; ++i) {
            Try([&] { k[i] = detail::KFromLogs(lnPhiL[i], lnPhiV[i]); });
            detail::StoreSingle(y[i], k[i] * x[i]);
            s += k[i] * x[i];
        }
        NormalizeFractions(y);
        const double next = t - c * (s - 1.0);
        if (std::isfinite(next)) {
            tNew = FloorTemperature(next);
        }
        if (!(pass <= 1000 && (pass <= 10 || std::fabs(t - tNew) > 0.001))) {
            break;
        }
        t = tNew;
    }
    for (int i = 0; i < n; ++i) {
        detail::StoreSingle(out.k[i], k[i]);
    }
    out.tempF = t;
    out.iterations = static_cast<std::int16_t>(pass);
    detail::FlagSaturationOutcome(out, x, std::fabs(t - tNew) > 0.001, 1000, std::fabs(s - 1.0),
                                  "bubble-point temperature", "pressure");
}

void DewTemperature(const FlashMixture& mixture, std::span<const float> y, float pressPsia,
                    FlashResults& out, FlashState& state, SaturationFlags flags) {
    detail::CheckMixture(mixture, y);
    const int n = static_cast<int>(y.size());
    detail::BindMixture(mixture, state);
    out.Prepare(n);
    auto& ws = state.work;
    std::span<float> x(out.x);
    std::span<double> lnPhiL(ws.lnPhiL.data(), n), lnPhiV(ws.lnPhiV.data(), n);
    std::span<double> k(ws.k.data(), n), v(ws.v.data(), n);
    for (int i = 0; i < n; ++i) {
        out.y[i] = y[i];
        k[i] = v[i] = 0.0;
    }
    const double p = pressPsia;
    float t = 0.0F;
    if (!flags.start) {
        t = WeightedSaturationTemperatureF(mixture, y, pressPsia, state, 0.1);
        // Vapour-pressure stage on the dew sum.
        const float highestTcF = HighestCriticalTemperatureF(mixture, y);
        if (StageClimbsPastEveryCriticalTemperature(mixture, y, p, t, highestTcF)) {
            EndAboveEveryCriticalTemperature(state, y, t, pressPsia, 0, out);
            return;
        }
        for (int pass = 0; pass < 500; ++pass) {
            if (t > highestTcF) {
                EndAboveEveryCriticalTemperature(state, y, t, pressPsia, pass, out);
                return;
            }
            const float tEstimate = EstimateTemperatureF(t);
            double sum = 0.0;
            for (int i = 0; i < n; ++i) {
                v[i] = VapourPressureEstimate(tEstimate, mixture.tcF[i], mixture.pcPsia[i],
                                              mixture.w[i], mixture.vapourPressure[i], y[i]);
                if (y[i] != 0.0F) { // an absent component adds nothing to the dew sum
                    sum += checked::Div(y[i], v[i], "a component without a vapour pressure");
                }
            }
            const double pCalc = checked::Div(1.0, sum, "dew-point sum of zero");
            if (std::fabs(p - pCalc) <= 0.1) {
                break;
            }
            t = checked::Single(t + VapourPressureStep(p, pCalc), "temperature out of range");
        }
        // The first liquid: Raoult's law at the temperature reached (Wilson's K where a
        // component has no vapour pressure).
        const float tEstimate = EstimateTemperatureF(t);
        for (int i = 0; i < n; ++i) {
            const double vi = VapourPressureEstimate(tEstimate, mixture.tcF[i], mixture.pcPsia[i],
                                                     mixture.w[i], mixture.vapourPressure[i], y[i]);
            const double ki =
                vi > 0.0 ? vi / p
                         : WilsonK(t, pressPsia, mixture.tcF[i], mixture.pcPsia[i], mixture.w[i]);
            x[i] = y[i] == 0.0F ? 0.0F
                                : checked::Single(checked::Div(y[i], ki, "zero K-value"),
                                                  "liquid composition out of range");
        }
        NormalizeFractions(x);
    } else {
        t = state.previous.tempF;
        for (int i = 0; i < n; ++i) {
            x[i] = state.previous.x[i];
        }
    }

    const double c = p < 500.0 ? 20.0 : p < 1000.0 ? 100.0 : p < 1500.0 ? 200.0 : 500.0;
    int pass = 0;
    double s = 0.0;
    float tNew = t;
    for (;;) {
        ++pass;
        out.liquidZ =
            detail::EvaluateLogPhase<float>(state, Phase::Liquid, t, pressPsia, x, lnPhiL);
        out.vapourZ =
            detail::EvaluateLogPhase<float>(state, Phase::Vapour, t, pressPsia, y, lnPhiV);
        s = 0.0;
        for (int i = 0; i < n; ++i) {
            k[i] = detail::KFromLogs(lnPhiL[i], lnPhiV[i]);
            const double xi = y[i] / k[i];
            x[i] = checked::Single(xi, "liquid composition out of range");
            s += xi;
        }
        NormalizeFractions(x);
        tNew = FloorTemperature(t + c * (s - 1.0));
        if (!(pass <= 1000 && (pass <= 5 || std::fabs(t - tNew) > 0.001))) {
            break;
        }
        t = tNew;
    }
    for (int i = 0; i < n; ++i) {
        out.k[i] = checked::Single(k[i], "K-value out of range");
    }
    out.tempF = t;
    out.iterations = static_cast<std::int16_t>(pass);
    detail::FlagSaturationOutcome(out, y, std::fabs(t - tNew) > 0.001, 1000, std::fabs(s - 1.0),
                                  "dew-point temperature", "pressure");
}

} // namespace quorvane
