#pragma once

#include "engine/eos/engine_errors.h"
#include "engine/eos/phase_fugacity.h"
#include "engine/flash/flash_results.h"
#include "engine/flash/flash_state.h"

#include <cmath>
#include <span>
#include <string>

// Pieces the flash routines share: one-phase evaluations with the failure rules of each
// routine, phase compositions from K and V, and the common checks of the inputs.

namespace quorvane::detail {

// Throws MixtureSizeError unless every array of the mixture and the composition has n entries
// and 1 <= n <= kMaxComponents.
void CheckMixture(const FlashMixture& mixture, std::span<const float> composition);

// Binds the workspace evaluator to the mixture and its equation of state.
void BindMixture(const FlashMixture& mixture, FlashState& state);

// ln φ of all components of one phase. Throws as PhaseFugacity::Evaluate does.
template <typename Real>
float EvaluateLogPhase(FlashState& state, Phase phase, float tempF, float pressPsia,
                       std::span<const Real> composition, std::span<double> lnPhi) {
    return state.work.eos.EvaluateLog(phase, tempF, pressPsia, composition, lnPhi, state.cubic);
}

// Below this logarithm the coefficient itself comes out as exactly 0 in 64 bits.
inline constexpr double kLnUnderflow = -745.1332191019412;

// K = φ_L/φ_V from the logarithms with one exponential. A coefficient that is exactly 0 is
// taken as 1e-07 (the saturation and vapour-fraction routines use it so). Throws
// OverflowError when the ratio does not fit.
inline double KFromLogs(double lnPhiL, double lnPhiV) {
    static const double lnFloor = std::log(1e-07);
    const double l = lnPhiL < kLnUnderflow ? lnFloor : lnPhiL;
    const double v = lnPhiV < kLnUnderflow ? lnFloor : lnPhiV;
    const double k = std::exp(l - v);
    if (!std::isfinite(k)) {
        throw OverflowError("K-value out of range");
    }
    return k;
}

// φ of all components of one phase; a coefficient of exactly 0 becomes 1e-07 (the saturation
// and vapour-fraction routines use it so). Throws as PhaseFugacity::Evaluate does.
template <typename Real>
float EvaluatePhase(FlashState& state, Phase phase, float tempF, float pressPsia,
                    std::span<const Real> composition, std::span<double> phi, bool floorZero) {
    const float z = state.work.eos.Evaluate(phase, tempF, pressPsia, composition, phi, state.cubic);
    if (floorZero) {
        for (int i = 0; i < state.work.eos.Size(); ++i) {
            if (phi[i] == 0.0) {
                phi[i] = 1e-07;
            }
        }
    }
    return z;
}

// The same evaluation where an overflow or a division by zero is stepped over: φ and Z keep
// their previous values. Returns false when it was stepped over.
template <typename Real>
bool EvaluatePhaseOrSkip(FlashState& state, Phase phase, float tempF, float pressPsia,
                         std::span<const Real> composition, std::span<double> phi, float& zOut,
                         bool floorZero) {
    try {
        zOut = EvaluatePhase(state, phase, tempF, pressPsia, composition, phi, floorZero);
        return true;
    } catch (const OverflowError&) {
        return false;
    } catch (const DivisionByZeroError&) {
        return false;
    }
}

// ln φ of one phase where an overflow or a division by zero is stepped over: ln φ and Z keep
// their previous values. Returns false when it was stepped over.
template <typename Real>
bool EvaluateLogOrSkip(FlashState& state, Phase phase, float tempF, float pressPsia,
                       std::span<const Real> composition, std::span<double> lnPhi, float& zOut) {
    try {
        zOut = EvaluateLogPhase(state, phase, tempF, pressPsia, composition, lnPhi);
        return true;
    } catch (const OverflowError&) {
        return false;
    } catch (const DivisionByZeroError&) {
        return false;
    }
}

// Stores a 64-bit value into 32-bit storage unless it is not finite or does not fit; returns
// whether it was stored (the target keeps its value otherwise).
inline bool StoreSingle(float& target, double value) {
    if (!std::isfinite(value) || std::fabs(value) > 3.4028234663852886e38) {
        return false;
    }
    target = static_cast<float>(value);
    return true;
}

// Marks a result as not converged with the residual and the reason.
inline void MarkUnconverged(FlashResults& out, double residual, std::string reason) {
    out.converged = false;
    out.residual = std::isfinite(residual) ? residual : 1.0;
    out.warning = std::move(reason);
}

// Largest |ln K_i| over the components present: near 0 means the incipient phase (or both
// phases) equal the feed.
double LargestLnK(std::span<const float> k, std::span<const float> z);

// The saturated-phase composition is a single component (K = 1 is then the answer).
bool SingleComponentPresent(std::span<const float> z);

// The fractions are finite, in 0..1 and sum to 1 (to 32-bit rounding).
bool SoundFractions(std::span<const float> f);

// What a saturation point or a split at a given vapour fraction came to: sound; compositions
// or K-values that are not physical; a single component with one fluid root (above its
// critical point there is no saturation point); or a trivial solution, the phases (nearly) the
// same fluid: K all within about 1 % of 1, or within 10 % while the two phases have the same
// Z to 1 part in 1000 (both were evaluated on the same root).
enum class SplitOutcome { Sound, Unphysical, PureSupercritical, Trivial };
SplitOutcome CheckSplitOutcome(const FlashResults& out, std::span<const float> feed);

// Records a saturation result that ended on its pass limit, on unphysical values or on a
// trivial solution as not converged. given names the specified state variable
// ("temperature" or "pressure").
void FlagSaturationOutcome(FlashResults& out, std::span<const float> feed, bool passLimit,
                           int limit, double residual, const char* what, const char* given);

// Thresholds of LargestLnK below which a solution counts as (nearly) trivial: a saturation
// point whose incipient phase is within about 1 % of the feed, a split whose phases are within
// 0.1 % of each other.
inline constexpr double kTrivialSaturationLnK = 1e-2;
inline constexpr double kTrivialSplitLnK = 1e-3;
inline constexpr double kNearTrivialLnK = 0.1;
inline constexpr double kSameRootZ = 1e-3;

} // namespace quorvane::detail
