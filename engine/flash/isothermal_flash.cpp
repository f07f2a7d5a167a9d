#include "engine/flash/isothermal_flash.h"

#include "common/precision.h"
#include "engine/eos/checked_math.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/k_estimates.h"
#include "engine/flash/flash_steps.h"
#include "engine/flash/isothermal_checks.h"
#include "engine/flash/rachford_rice.h"
#include "engine/flash/saturation.h"
#include "engine/flash/stability.h"
#include "engine/flash/tp_continuation.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace quorvane {

namespace {

enum class LoopExit { Converged, Stalled, SmallK, PassLimit };

constexpr int kPassLimit = 500;
constexpr int kStallPasses = 50;

// x_i = z_i/(1 + V·(K_i − 1)), y_i = K_i·x_i, both normalised; a value that cannot be formed
// keeps its previous one.
void SplitPhases(std::span<const float> z, std::span<const float> k, double v, std::span<float> x,
                 std::span<float> y) {
    for (std::size_t i = 0; i < z.size(); ++i) {
        const double xi = z[i] / (1.0 + v * (static_cast<double>(k[i]) - 1.0));
        detail::StoreSingle(x[i], xi);
        detail::StoreSingle(y[i], static_cast<double>(k[i]) * x[i]);
    }
    NormalizeFractions(x);
    NormalizeFractions(y);
}

// What the continuation made of a stalled or unfinished substitution.
struct Resolution {
    enum class Kind { TwoPhase, SinglePhase, Failed } kind = Kind::Failed;
    double v = 0.0;
    const char* reason = "";
};

bool Nontrivial(std::span<const double> lnK, std::span<const float> z) {
    double largest = 0.0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        if (z[i] > 0.0F) {
            largest = std::max(largest, std::fabs(lnK[i]));
        }
    }
    return largest > detail::kTrivialSplitLnK;
}

// Carries the flash on from the loop's K-values to equal fugacities. When that does not lead
// to a genuine split, a stability test of the feed decides: a stable feed is one phase (liquid
// below the pseudo-critical temperature, vapour above it), an unstable one is flashed again
// from the K-values of the phase that splits off. Writes the outcome into out.
Resolution Resolve(const FlashMixture& mixture, std::span<const float> z, float tempF,
                   float pressPsia, FlashResults& out, FlashState& state, double vLoop) {
    auto& ws = state.work;
    const int n = static_cast<int>(z.size());
    std::span<double> lnK(ws.v.data(), n);
    std::span<double> xd(ws.xd.data(), n);
    std::span<double> yd(ws.yd.data(), n);
    std::span<float> k(out.k);
    auto tryFrom = [&](auto kOf) -> Resolution {
        for (int i = 0; i < n; ++i) {
            lnK[i] = std::log(kOf(i));
        }
        float zL = out.liquidZ;
        float zV = out.vapourZ;
        double v = vLoop;
        const detail::ContinuationResult cont =
            detail::ContinueIsothermal(state, z, tempF, pressPsia, lnK, v, xd, yd, zL, zV);
        if (!cont.converged) {
            return Resolution{Resolution::Kind::Failed, 0.0, cont.reason};
        }
        if (!Nontrivial(lnK, z)) {
            return Resolution{Resolution::Kind::Failed, 0.0, "trivial solution"};
        }
        for (int i = 0; i < n; ++i) {
            k[i] = ToSingle(std::exp(lnK[i]));
            out.x[i] = ToSingle(xd[i]);
            out.y[i] = ToSingle(yd[i]);
        }
        out.liquidZ = zL;
        out.vapourZ = zV;
        out.residual = cont.residual;
        return Resolution{Resolution::Kind::TwoPhase, v, ""};
    };

    bool usable = true;
    for (int i = 0; i < n; ++i) {
        usable = usable && (k[i] > 0.0F || z[i] <= 0.0F);
    }
    Resolution first{Resolution::Kind::Failed, 0.0, "a K-value of zero"};
    if (usable) {
        first = tryFrom([&](int i) { return k[i] > 0.0F ? static_cast<double>(k[i]) : 1.0; });
        if (first.kind == Resolution::Kind::TwoPhase) {
            return first;
        }
    }

    std::span<double> kStart(ws.k.data(), n);
    std::span<double> kSplit(ws.k2.data(), n);
    for (int i = 0; i < n; ++i) {
        kStart[i] = WilsonK(tempF, pressPsia, mixture.tcF[i], mixture.pcPsia[i], mixture.w[i]);
    }
    const detail::StabilityResult stability =
        detail::TestStability(state, z, tempF, pressPsia, kStart, kSplit);
    if (!stability.evaluated) {
        return first;
    }
    if (stability.stable) {
        float tpc = 0.0F;
        try {
            tpc = PseudoCriticalTemperatureF(z, mixture.tcF, mixture.vc);
        } catch (const EngineError&) {
            return first;
        }
        const bool liquid = tempF < tpc;
        std::span<double> phi(liquid ? ws.phiL.data() : ws.phiV.data(), n);
        float& zPhase = liquid ? out.liquidZ : out.vapourZ;
        if (!detail::EvaluatePhaseOrSkip<float>(state, liquid ? Phase::Liquid : Phase::Vapour,
                                                tempF, pressPsia, z, phi, zPhase, false)) {
            return first;
        }
        for (int i = 0; i < n; ++i) {
            (liquid ? out.x : out.y)[i] = z[i];
        }
        out.vapourFraction = liquid ? 0.0 : 1.0;
        out.residual = 0.0;
        return Resolution{Resolution::Kind::SinglePhase, out.vapourFraction, ""};
    }
    const Resolution second = tryFrom([&](int i) { return kSplit[i]; });
    if (second.kind == Resolution::Kind::TwoPhase) {
        return second;
    }
    return Resolution{Resolution::Kind::Failed, 0.0, second.reason};
}

// One component: the substitution loop has nothing to split (the Rachford-Rice equation has no
// root between its poles). The phase is the one with the lower fugacity; with a single real
// root, liquid below the critical temperature at pressures above the vapour-pressure estimate,
// vapour otherwise.
void PureComponentFlash(const FlashMixture& mixture, std::span<const float> z, float tempF,
                        float pressPsia, FlashResults& out, FlashState& state) {
    const int n = static_cast<int>(z.size());
    auto& ws = state.work;
    std::span<double> lnL(ws.lnPhiL2.data(), n);
    std::span<double> lnV(ws.lnPhiV2.data(), n);
    out.liquidZ = detail::EvaluateLogPhase<float>(state, Phase::Liquid, tempF, pressPsia, z, lnL);
    out.vapourZ = detail::EvaluateLogPhase<float>(state, Phase::Vapour, tempF, pressPsia, z, lnV);
    int present = 0;
    for (int i = 0; i < n; ++i) {
        if (z[i] > 0.0F) {
            present = i;
        }
    }
    bool liquid = lnL[present] < lnV[present];
    if (out.liquidZ == out.vapourZ) {
        liquid = false;
        if (tempF < mixture.tcF[present]) {
            const float pSat = VapourPressureEstimate(tempF, mixture.tcF[present],
                                                      mixture.pcPsia[present], mixture.w[present],
                                                      mixture.vapourPressure[present], z[present]);
            liquid = pressPsia > pSat;
        }
    }
    for (int i = 0; i < n; ++i) {
        out.x[i] = z[i];
        out.y[i] = z[i];
        out.k[i] = ToSingle(detail::KFromLogs(lnL[i], lnV[i]));
    }
    out.vapourFraction = liquid ? 0.0 : 1.0;
    out.iterations = 0;
    out.residual = 0.0;
}

} // namespace

float PseudoCriticalTemperatureF(std::span<const float> z, std::span<const float> tcF,
                                 std::span<const float> vc) {
    double zvSum = 0.0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        zvSum += static_cast<double>(z[i]) * vc[i];
    }
    double tpc = 0.0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        const double share =
            checked::Div(static_cast<double>(z[i]) * vc[i], zvSum, "zero critical volume");
        tpc += share * (static_cast<double>(tcF[i]) + 459.67);
    }
    return ToSingle(tpc - 459.67);
}

namespace {

// The substitution loop with its continuation and phase-state decision. Returns true when the
// result is the loop's own split at its convergence test, with the fugacity ratios of that
// test evaluated from the stored x and y (no evaluation stepped over): those ratios are then
// the equilibrium check of the stored result.
bool IsothermalIteration(const FlashMixture& mixture, std::span<const float> z, float tempF,
                         float pressPsia, FlashResults& out, FlashState& state) {
    const int n = static_cast<int>(z.size());
    detail::BindMixture(mixture, state);
    out.Prepare(n);
    auto& ws = state.work;
    std::span<float> k(out.k);
    std::span<float> x(out.x);
    std::span<float> y(out.y);
    std::span<double> phiL(ws.phiL.data(), n);
    std::span<double> phiV(ws.phiV.data(), n);
    std::span<double> lnPhiL(ws.lnPhiL2.data(), n);
    std::span<double> lnPhiV(ws.lnPhiV2.data(), n);
    std::span<double> r(ws.ratio.data(), n);
    std::span<double> rPrev(ws.ratioPrev.data(), n);
    std::span<double> lambda(ws.lambda.data(), n);
    for (int i = 0; i < n; ++i) {
        r[i] = rPrev[i] = lambda[i] = 0.0;
        phiL[i] = phiV[i] = 0.0;
        lnPhiL[i] = lnPhiV[i] = 0.0;
    }
    if (detail::SingleComponentPresent(z)) {
        PureComponentFlash(mixture, z, tempF, pressPsia, out, state);
        return false;
    }
    const double p = pressPsia;
    double v = 0.0;
    double ssq = 0.0;
    int pass = 0;
    LoopExit exit = LoopExit::Converged;
    bool fresh = false;

    try {
        // Starting K-values from the vapour-pressure estimates.
        for (int i = 0; i < n; ++i) {
            try {
                const float vp =
                    VapourPressureEstimate(tempF, mixture.tcF[i], mixture.pcPsia[i], mixture.w[i],
                                           mixture.vapourPressure[i], z[i]);
                detail::StoreSingle(k[i], checked::Div(vp, p, "zero pressure"));
            } catch (const OverflowError&) {
            } catch (const DivisionByZeroError&) {
            }
        }
        v = RachfordRiceSolve(k, z);
        SplitPhases(z, k, v, x, y);

        double ssqPrev = 0.0;
        double vPrev = v;
        double q = 0.0;
        for (;;) {
            // ln φ of both phases (a failed evaluation keeps the previous values); the
            // fugacity ratio r_i = x_i·φ_L,i·P/(y_i·φ_V,i·P) then costs one exponential.
            fresh = detail::EvaluateLogOrSkip<float>(state, Phase::Liquid, tempF, pressPsia, x,
                                                     lnPhiL, out.liquidZ);
            fresh = detail::EvaluateLogOrSkip<float>(state, Phase::Vapour, tempF, pressPsia, y,
                                                     lnPhiV, out.vapourZ) &&
                    fresh;
            ssq = 0.0;
            double ssqPrevRatios = 0.0;
            for (int i = 0; i < n; ++i) {
                if (z[i] <= 0.0F) {
                    // A component absent from the feed has no fugacity in either phase: it is
                    // balanced, not a ratio of 0/0 that would hold the sum of squares at 1.
                    r[i] = 1.0;
                } else if (y[i] != 0.0F && lnPhiV[i] >= detail::kLnUnderflow) {
                    const double ratio =
                        (static_cast<double>(x[i]) / y[i]) * std::exp(lnPhiL[i] - lnPhiV[i]);
                    if (std::isfinite(ratio)) {
                        r[i] = ratio;
                    } else {
                        fresh = false;
                    }
                } else {
                    fresh = false;
                }
                ssq += (r[i] - 1.0) * (r[i] - 1.0);
                ssqPrevRatios += (rPrev[i] - 1.0) * (rPrev[i] - 1.0);
            }
            if (ssq < 1e-10) {
                exit = LoopExit::Converged;
                break;
            }
            if (pass > kStallPasses && (ssqPrev - ssq) * (ssqPrev - ssq) < 1e-12) {
                exit = LoopExit::Stalled;
                break;
            }
            bool accelerate = false;
            if (pass >= 1) {
                if (ssqPrevRatios != 0.0) {
                    q = ssq / ssqPrevRatios;
                }
                accelerate = q > 0.8 && std::fabs(v - vPrev) < 0.1 && 1e-05 < ssq && ssq < 0.001 &&
                             0.0 < v && v < 1.0;
            }
            for (int i = 0; i < n; ++i) {
                if (accelerate) {
                    const double den = rPrev[i] - r[i];
                    if (den != 0.0) {
                        lambda[i] = (rPrev[i] - 1.0) / den;
                    }
                    detail::StoreSingle(k[i], k[i] * std::pow(r[i], lambda[i]));
                } else {
                    detail::StoreSingle(k[i], k[i] * r[i]);
                }
                rPrev[i] = r[i];
            }
            ssqPrev = ssq;
            vPrev = v;
            v = RachfordRiceSolve(k, z, v);
            SplitPhases(z, k, v, x, y);
            double sumK2 = 0.0;
            for (int i = 0; i < n; ++i) {
                sumK2 += static_cast<double>(k[i]) * k[i];
            }
            if (sumK2 < 1e-05) {
                exit = LoopExit::SmallK;
                break;
            }
            // The pass limit also ends a one-component flash, which otherwise could only end
            // on a convergence test.
            if (pass > kPassLimit) {
                exit = LoopExit::PassLimit;
                break;
            }
            ++pass;
        }
    } catch (const InvalidArgumentError& e) {
        // The substitution cannot go on; what it reached is kept but not passed off as an
        // equilibrium.
        out.iterations = static_cast<std::int16_t>(pass);
        out.vapourFraction = v;
        detail::MarkUnconverged(out, std::sqrt(ssq),
                                std::string("The flash stopped before equilibrium: ") + e.what() +
                                    ".");
        return false;
    }
    out.iterations = static_cast<std::int16_t>(pass);
    out.residual = std::sqrt(ssq);

    bool singlePhaseDecided = false;
    if (exit == LoopExit::Stalled || exit == LoopExit::PassLimit) {
        const Resolution res = Resolve(mixture, z, tempF, pressPsia, out, state, v);
        out.continued = true;
        if (res.kind == Resolution::Kind::TwoPhase) {
            v = res.v;
        } else if (res.kind == Resolution::Kind::SinglePhase) {
            singlePhaseDecided = true;
        } else {
            detail::MarkUnconverged(
                out, out.residual,
                std::string("The flash did not reach equilibrium (") +
                    (exit == LoopExit::Stalled ? "the iteration stalled" : "pass limit") +
                    "; continuation: " + res.reason + ").");
        }
    }
    if (singlePhaseDecided) {
        return false;
    }
    out.vapourFraction = v;

    // Phase state when the split lies outside 0..1.
    if (v < 0.0 || v > 1.0) {
        float tpc = 0.0F;
        float pBubble = 0.0F;
        float pDew = 0.0F;
        try {
            tpc = PseudoCriticalTemperatureF(z, mixture.tcF, mixture.vc);
        } catch (const OverflowError&) {
        } catch (const DivisionByZeroError&) {
        }
        FlashResults sat;
        const float liquidZ = out.liquidZ;
        const float vapourZ = out.vapourZ;
        try {
            try {
                BubblePressure(mixture, z, tempF, sat, state);
                pBubble = sat.pressPsia;
            } catch (const OverflowError&) {
            } catch (const DivisionByZeroError&) {
            }
            try {
                DewPressure(mixture, z, tempF, sat, state);
                pDew = sat.pressPsia;
            } catch (const OverflowError&) {
            } catch (const DivisionByZeroError&) {
            }
        } catch (const InvalidArgumentError& e) {
            detail::MarkUnconverged(out, out.residual,
                                    std::string("The phase state could not be decided: ") +
                                        e.what() + ".");
            return false;
        }
        // The saturation routines share the workspace; the binding is the same mixture.
        detail::BindMixture(mixture, state);
        out.liquidZ = liquidZ;
        out.vapourZ = vapourZ;
        if (tpc > tempF && pressPsia > pBubble) {
            for (int i = 0; i < n; ++i) {
                x[i] = z[i];
            }
            out.vapourFraction = 0.0;
            // The liquid is the feed: its Z is the feed's.
            detail::EvaluatePhaseOrSkip<float>(state, Phase::Liquid, tempF, pressPsia, z, phiL,
                                               out.liquidZ, false);
        } else if (tpc < tempF || pressPsia < pDew) {
            for (int i = 0; i < n; ++i) {
                y[i] = z[i];
            }
            out.vapourFraction = 1.0;
            detail::EvaluatePhaseOrSkip<float>(state, Phase::Vapour, tempF, pressPsia, z, phiV,
                                               out.vapourZ, false);
        } else if (out.converged) {
            // The rule leaves the state open, but the fugacities agree: a split with V below 0
            // (above 1) is the negative flash of a feed that is all liquid (all vapour).
            const bool liquid = out.vapourFraction < 0.0;
            std::span<float> same = liquid ? x : y;
            for (int i = 0; i < n; ++i) {
                same[i] = z[i];
            }
            out.vapourFraction = liquid ? 0.0 : 1.0;
            detail::EvaluatePhaseOrSkip<float>(state, liquid ? Phase::Liquid : Phase::Vapour, tempF,
                                               pressPsia, z, liquid ? phiL : phiV,
                                               liquid ? out.liquidZ : out.vapourZ, false);
        }
        return false;
    }
    if (out.converged && !detail::SingleComponentPresent(z) &&
        detail::LargestLnK(k, z) < detail::kTrivialSplitLnK) {
        detail::MarkUnconverged(out, out.residual,
                                "The phases came out identical to the feed (trivial solution); "
                                "the phase state is undetermined.");
    }
    return exit == LoopExit::Converged && fresh;
}

} // namespace

void IsothermalFlash(const FlashMixture& mixture, std::span<const float> z, float tempF,
                     float pressPsia, FlashResults& out, FlashState& state) {
    detail::CheckMixture(mixture, z);
    const bool fugacitiesChecked = IsothermalIteration(mixture, z, tempF, pressPsia, out, state);
    // Only now, with the iteration over: a result is passed on as converged only when it is
    // physical and at equilibrium.
    detail::SettleIsothermal(mixture, z, tempF, pressPsia, out, state, fugacitiesChecked);
}

} // namespace quorvane
