#include "engine/flash/isothermal_checks.h"

#include "common/precision.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/k_estimates.h"
#include "engine/flash/flash_steps.h"
#include "engine/flash/isothermal_flash.h"
#include "engine/flash/stability.h"
#include "engine/flash/tp_continuation.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace quorvane::detail {

namespace {

bool SoundKValues(std::span<const float> k, std::span<const float> z) {
    for (std::size_t i = 0; i < k.size(); ++i) {
        if (z[i] > 0.0F && !(std::isfinite(k[i]) && k[i] > 0.0F)) {
            return false;
        }
    }
    return true;
}

// Stability of the feed by the tangent-plane test, from Wilson K-values. kSplit receives the
// K-values of the phase that splits off from an unstable feed.
StabilityResult FeedStability(const FlashMixture& mixture, std::span<const float> z, float tempF,
                              float pressPsia, FlashState& state) {
    auto& ws = state.work;
    const int n = static_cast<int>(z.size());
    std::span<double> kStart(ws.k.data(), n);
    for (int i = 0; i < n; ++i) {
        kStart[i] = WilsonK(tempF, pressPsia, mixture.tcF[i], mixture.pcPsia[i], mixture.w[i]);
    }
    return TestStability(state, z, tempF, pressPsia, kStart, std::span<double>(ws.k2.data(), n));
}

// A stable feed is one phase: the root of lower Gibbs energy when the cubic has two, else
// liquid below the pseudo-critical temperature and vapour above it. Both phase compositions
// are set to the feed and every K to 1 (the absent phase is the feed itself, so y/x = 1), the
// Z values to those of the feed on each root. Returns false when the feed cannot be evaluated.
bool SinglePhaseOfFeed(const FlashMixture& mixture, std::span<const float> z, float tempF,
                       float pressPsia, FlashResults& out, FlashState& state) {
    auto& ws = state.work;
    const int n = static_cast<int>(z.size());
    std::span<double> lnL(ws.lnPhiL2.data(), n);
    std::span<double> lnV(ws.lnPhiV2.data(), n);
    float zL = 0.0F;
    float zV = 0.0F;
    bool liquid = false;
    try {
        zL = EvaluateLogPhase<float>(state, Phase::Liquid, tempF, pressPsia, z, lnL);
        zV = EvaluateLogPhase<float>(state, Phase::Vapour, tempF, pressPsia, z, lnV);
        if (zL != zV) {
            double gL = 0.0;
            double gV = 0.0;
            for (int i = 0; i < n; ++i) {
                gL += static_cast<double>(z[i]) * lnL[i];
                gV += static_cast<double>(z[i]) * lnV[i];
            }
            liquid = gL < gV;
        } else {
            liquid = tempF < PseudoCriticalTemperatureF(z, mixture.tcF, mixture.vc);
        }
    } catch (const EngineError&) {
        return false;
    }
    for (int i = 0; i < n; ++i) {
        out.x[i] = z[i];
        out.y[i] = z[i];
        out.k[i] = 1.0F;
    }
    out.liquidZ = zL;
    out.vapourZ = zV;
    out.vapourFraction = liquid ? 0.0 : 1.0;
    out.residual = 0.0;
    out.converged = true;
    out.warning.clear();
    return true;
}

// Flash of an unstable feed from the K-values of the phase that splits off (in ws.k2).
// Writes the split and returns true when it reaches equal fugacities with distinct phases.
bool SplitFromTrial(std::span<const float> z, float tempF, float pressPsia, FlashResults& out,
                    FlashState& state, const char*& reason) {
    auto& ws = state.work;
    const int n = static_cast<int>(z.size());
    std::span<double> lnK(ws.v.data(), n);
    std::span<double> xd(ws.xd.data(), n);
    std::span<double> yd(ws.yd.data(), n);
    for (int i = 0; i < n; ++i) {
        lnK[i] = std::log(ws.k2[i]);
    }
    double v = 0.5;
    float zL = 0.0F;
    float zV = 0.0F;
    const ContinuationResult cont =
        ContinueIsothermal(state, z, tempF, pressPsia, lnK, v, xd, yd, zL, zV);
    if (!cont.converged) {
        reason = cont.reason;
        return false;
    }
    double largest = 0.0;
    for (int i = 0; i < n; ++i) {
        if (z[i] > 0.0F) {
            largest = std::max(largest, std::fabs(lnK[i]));
        }
    }
    if (largest < kTrivialSplitLnK) {
        reason = "trivial solution";
        return false;
    }
    if (!(v >= 0.0 && v <= 1.0)) {
        reason = "vapour fraction outside 0..1";
        return false;
    }
    for (int i = 0; i < n; ++i) {
        out.k[i] = ToSingle(std::exp(lnK[i]));
        out.x[i] = ToSingle(xd[i]);
        out.y[i] = ToSingle(yd[i]);
    }
    out.vapourFraction = v;
    out.liquidZ = zL;
    out.vapourZ = zV;
    out.residual = cont.residual;
    out.converged = true;
    out.warning.clear();
    out.continued = true;
    return true;
}

// Whether out is a sound result as it stands. A one-phase result whose absent phase is not a
// composition (or whose K-values are not positive) has that phase set to the feed, K to 1.
bool AcceptAsItStands(const FlashMixture& mixture, std::span<const float> z, float tempF,
                      float pressPsia, FlashResults& out, FlashState& state,
                      bool fugacitiesChecked) {
    const double v = out.vapourFraction;
    if (!(v >= 0.0 && v <= 1.0)) {
        return false;
    }
    const std::span<const float> x(out.x);
    const std::span<const float> y(out.y);
    if (v > 0.0 && v < 1.0) {
        if (!SoundFractions(x) || !SoundFractions(y) || !SoundKValues(out.k, z) ||
            LargestLnK(out.k, z) < kTrivialSplitLnK) {
            return false;
        }
        if (fugacitiesChecked) {
            return true;
        }
        try {
            return StoredFugacityMismatch(state, z, tempF, pressPsia, x, y) <=
                   kStoredFugacityTolerance;
        } catch (const EngineError&) {
            return false;
        }
    }
    const bool liquid = v == 0.0;
    if (!SoundFractions(liquid ? x : y)) {
        return false;
    }
    const StabilityResult stability = FeedStability(mixture, z, tempF, pressPsia, state);
    if (!stability.evaluated || !stability.stable) {
        return false;
    }
    if (!SoundFractions(liquid ? y : x) || !SoundKValues(out.k, z)) {
        // The absent phase is the feed, K = 1, and its Z that of the feed on its own root.
        std::span<float> absent(liquid ? out.y : out.x);
        for (std::size_t i = 0; i < z.size(); ++i) {
            absent[i] = z[i];
            out.k[i] = 1.0F;
        }
        auto& ws = state.work;
        std::span<double> lnPhi(ws.lnPhiL2.data(), z.size());
        try {
            (liquid ? out.vapourZ : out.liquidZ) = EvaluateLogPhase<float>(
                state, liquid ? Phase::Vapour : Phase::Liquid, tempF, pressPsia, z, lnPhi);
        } catch (const EngineError&) {
            (liquid ? out.vapourZ : out.liquidZ) = liquid ? out.liquidZ : out.vapourZ;
        }
    }
    return true;
}

} // namespace

double StoredFugacityMismatch(FlashState& state, std::span<const float> z, float tempF,
                              float pressPsia, std::span<const float> x, std::span<const float> y) {
    auto& ws = state.work;
    const int n = static_cast<int>(z.size());
    std::span<double> lnL(ws.lnPhiL.data(), n);
    std::span<double> lnV(ws.lnPhiV.data(), n);
    EvaluateLogPhase<float>(state, Phase::Liquid, tempF, pressPsia, x, lnL);
    EvaluateLogPhase<float>(state, Phase::Vapour, tempF, pressPsia, y, lnV);
    double largest = 0.0;
    for (int i = 0; i < n; ++i) {
        if (z[i] <= 0.0F) {
            continue;
        }
        if (!(x[i] > 0.0F && y[i] > 0.0F)) {
            return 1e300;
        }
        const double lnRatio = std::log(static_cast<double>(x[i]) / y[i]) + lnL[i] - lnV[i];
        largest = std::max(largest, std::isfinite(lnRatio) ? std::fabs(lnRatio) : 1e300);
    }
    return largest;
}

void SettleIsothermal(const FlashMixture& mixture, std::span<const float> z, float tempF,
                      float pressPsia, FlashResults& out, FlashState& state,
                      bool fugacitiesChecked) {
    if (SingleComponentPresent(z)) {
        return; // settled directly on the lower fugacity, no split to check
    }
    if (out.converged &&
        AcceptAsItStands(mixture, z, tempF, pressPsia, out, state, fugacitiesChecked)) {
        return;
    }
    // The iteration ended on a point that is not an equilibrium (or not physical): the
    // stability test of the feed decides the phase state afresh.
    const double residual = out.residual;
    const StabilityResult stability = FeedStability(mixture, z, tempF, pressPsia, state);
    const char* reason = "the stability test of the feed could not be evaluated";
    if (stability.evaluated) {
        if (stability.stable) {
            if (SinglePhaseOfFeed(mixture, z, tempF, pressPsia, out, state)) {
                return;
            }
            reason = "the feed could not be evaluated";
        } else if (SplitFromTrial(z, tempF, pressPsia, out, state, reason)) {
            return;
        }
    }
    // Nothing sound to show: the values stay as the iteration left them, marked as such.
    MarkUnconverged(out, residual,
                    std::string("The flash did not reach a physical equilibrium (") + reason +
                        "); the results shown are the last iterate, not an answer.");
}

} // namespace quorvane::detail
