#include "engine/flash/isothermal_flash.h"

#include "engine/eos/checked_math.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/k_estimates.h"
#include "engine/flash/flash_steps.h"
#include "engine/flash/rachford_rice.h"
#include "engine/flash/saturation.h"
#include "engine/flash/tp_continuation.h"
#include "engine/precision.h"

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

struct EndedEarly {
    std::string reason;
};

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

void IsothermalFlash(const FlashMixture& mixture, std::span<const float> z, float tempF,
                     float pressPsia, FlashResults& out, FlashState& state) {
    detail::CheckMixture(mixture, z);
    const int n = static_cast<int>(z.size());
    detail::BindMixture(mixture, state);
    out.Prepare(n);
    auto& ws = state.work;
    std::span<float> k(out.k);
    std::span<float> x(out.x);
    std::span<float> y(out.y);
    std::span<double> phiL(ws.phiL.data(), n);
    std::span<double> phiV(ws.phiV.data(), n);
    std::span<double> r(ws.ratio.data(), n);
    std::span<double> rPrev(ws.ratioPrev.data(), n);
    std::span<double> lambda(ws.lambda.data(), n);
    for (int i = 0; i < n; ++i) {
        r[i] = rPrev[i] = lambda[i] = 0.0;
        phiL[i] = phiV[i] = 0.0;
    }
    const double p = pressPsia;
    double v = 0.0;
    double ssq = 0.0;
    int pass = 0;
    LoopExit exit = LoopExit::Converged;

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
            detail::EvaluatePhaseOrSkip<float>(state, Phase::Liquid, tempF, pressPsia, x, phiL,
                                               out.liquidZ, false);
            detail::EvaluatePhaseOrSkip<float>(state, Phase::Vapour, tempF, pressPsia, y, phiV,
                                               out.vapourZ, false);
            ssq = 0.0;
            double ssqPrevRatios = 0.0;
            for (int i = 0; i < n; ++i) {
                const double fL = x[i] * phiL[i] * p;
                const double fV = y[i] * phiV[i] * p;
                if (fV != 0.0 && std::isfinite(fL / fV)) {
                    r[i] = fL / fV;
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
            v = RachfordRiceSolve(k, z);
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
        return;
    }
    out.iterations = static_cast<std::int16_t>(pass);
    out.residual = std::sqrt(ssq);

    if (exit == LoopExit::Stalled || exit == LoopExit::PassLimit) {
        std::span<double> lnK(ws.v.data(), n);
        std::span<double> xd(ws.xd.data(), n);
        std::span<double> yd(ws.yd.data(), n);
        bool usable = true;
        for (int i = 0; i < n; ++i) {
            usable = usable && (k[i] > 0.0F || z[i] <= 0.0F);
            lnK[i] = k[i] > 0.0F ? std::log(static_cast<double>(k[i])) : 0.0;
        }
        float zL = out.liquidZ;
        float zV = out.vapourZ;
        double vc = v;
        const detail::ContinuationResult cont =
            usable ? detail::ContinueIsothermal(state, z, tempF, pressPsia, lnK, vc, xd, yd, zL, zV)
                   : detail::ContinuationResult{false, out.residual, "a K-value of zero"};
        if (cont.converged) {
            v = vc;
            for (int i = 0; i < n; ++i) {
                k[i] = ToSingle(std::exp(lnK[i]));
                x[i] = ToSingle(xd[i]);
                y[i] = ToSingle(yd[i]);
            }
            out.liquidZ = zL;
            out.vapourZ = zV;
            out.residual = cont.residual;
        } else {
            detail::MarkUnconverged(
                out, out.residual,
                std::string("The flash did not reach equilibrium (") +
                    (exit == LoopExit::Stalled ? "the iteration stalled" : "pass limit") +
                    "; continuation: " + cont.reason + ").");
        }
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
            return;
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
            detail::MarkUnconverged(out, out.residual,
                                    "The phase state could not be decided: the vapour fraction "
                                    "lies outside 0 to 1.");
        }
        return;
    }
    if (out.converged && !detail::SingleComponentPresent(z) &&
        detail::LargestLnK(k, z) < detail::kTrivialLnK) {
        detail::MarkUnconverged(out, out.residual,
                                "The phases came out identical to the feed (trivial solution); "
                                "the phase state is undetermined.");
    }
}

} // namespace quorvane
