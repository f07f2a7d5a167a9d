#include "engine/flash/stability.h"

#include "engine/eos/engine_errors.h"
#include "engine/flash/rachford_rice.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quorvane::detail {

namespace {

using Row = std::array<double, kMaxComponents>;

constexpr int kTrialPasses = 300;
constexpr double kTrialTolerance = 1e-12; // Σ (Δ ln W)²
constexpr double kTrivialDistance = 1e-6; // Σ (ln W − ln z)² of a trial that fell back on z
constexpr double kSplitThreshold = -1e-9; // tangent-plane distance that proves instability

// d_i = ln z_i + ln φ_i(z) with the feed's root of lower Gibbs energy.
void FeedPotentials(FlashState& state, std::span<const float> z, float t, float p, Row& d) {
    const int n = static_cast<int>(z.size());
    Row zd{};
    for (int i = 0; i < n; ++i) {
        zd[i] = z[i];
    }
    Row lnPhiV{};
    Row lnPhiL{};
    auto& eos = state.work.eos;
    eos.EvaluateLog(Phase::Vapour, t, p, std::span<const double>(zd.data(), n),
                    std::span<double>(lnPhiV.data(), n), state.cubic);
    eos.EvaluateLog(Phase::Liquid, t, p, std::span<const double>(zd.data(), n),
                    std::span<double>(lnPhiL.data(), n), state.cubic);
    double gV = 0.0;
    double gL = 0.0;
    for (int i = 0; i < n; ++i) {
        gV += zd[i] * lnPhiV[i];
        gL += zd[i] * lnPhiL[i];
    }
    const Row& chosen = gL < gV ? lnPhiL : lnPhiV;
    for (int i = 0; i < n; ++i) {
        d[i] = z[i] > 0.0F ? std::log(zd[i]) + chosen[i] : 0.0;
    }
}

// One trial phase; returns its tangent-plane distance tm = 1 − Σ W_i at the end (negative:
// the feed is unstable), and W in w.
double Trial(FlashState& state, std::span<const float> z, float t, float p, const Row& d,
             Phase phase, Row& lnW, bool& trivial) {
    const int n = static_cast<int>(z.size());
    auto& eos = state.work.eos;
    Row w{};
    Row lnPhi{};
    double tm = 0.0;
    trivial = false;
    for (int pass = 0; pass < kTrialPasses; ++pass) {
        double sum = 0.0;
        for (int i = 0; i < n; ++i) {
            w[i] = z[i] > 0.0F ? std::exp(lnW[i]) : 0.0;
            sum += w[i];
        }
        for (int i = 0; i < n; ++i) {
            w[i] /= sum;
        }
        eos.EvaluateLog(phase, t, p, std::span<const double>(w.data(), n),
                        std::span<double>(lnPhi.data(), n), state.cubic);
        double change = 0.0;
        double distance = 0.0;
        for (int i = 0; i < n; ++i) {
            if (z[i] <= 0.0F) {
                continue;
            }
            const double next = d[i] - lnPhi[i];
            change += (next - lnW[i]) * (next - lnW[i]);
            distance += (next - std::log(static_cast<double>(z[i]))) *
                        (next - std::log(static_cast<double>(z[i])));
            lnW[i] = next;
        }
        double total = 0.0;
        for (int i = 0; i < n; ++i) {
            total += z[i] > 0.0F ? std::exp(lnW[i]) : 0.0;
        }
        tm = 1.0 - total;
        if (distance < kTrivialDistance) {
            trivial = true;
            return 0.0;
        }
        if (tm < -1e-3 || change < kTrialTolerance) {
            break;
        }
    }
    return tm;
}

} // namespace

StabilityResult TestStability(FlashState& state, std::span<const float> z, float tempF,
                              float pressPsia, std::span<const double> kStart,
                              std::span<double> kOut) {
    const int n = static_cast<int>(z.size());
    StabilityResult result;
    try {
        Row d{};
        FeedPotentials(state, z, tempF, pressPsia, d);
        double best = 0.0;
        for (const Phase phase : {Phase::Vapour, Phase::Liquid}) {
            Row lnW{};
            for (int i = 0; i < n; ++i) {
                const double k = kStart[i] > 0.0 ? kStart[i] : 1.0;
                const double zi = z[i] > 0.0F ? z[i] : 1.0;
                lnW[i] = std::log(zi) + (phase == Phase::Vapour ? std::log(k) : -std::log(k));
            }
            bool trivial = false;
            const double tm = Trial(state, z, tempF, pressPsia, d, phase, lnW, trivial);
            if (!trivial && tm < kSplitThreshold && tm < best) {
                best = tm;
                // K = y/x with the trial as the new phase and the feed as the other.
                for (int i = 0; i < n; ++i) {
                    const double ratio =
                        z[i] > 0.0F ? std::exp(lnW[i]) / static_cast<double>(z[i]) : 1.0;
                    kOut[i] = phase == Phase::Vapour ? ratio : 1.0 / ratio;
                }
                result.haveK = true;
            }
        }
        result.evaluated = true;
        result.stable = !result.haveK;
    } catch (const EngineError&) {
        result.evaluated = false;
    }
    return result;
}

} // namespace quorvane::detail
