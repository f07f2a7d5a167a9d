#include "engine/flash/isothermal_phases.h"

#include "common/precision.h"
#include "engine/envelope/cubic_mixture.h"
#include "engine/eos/engine_errors.h"
#include "engine/eos/eos_choice.h"
#include "engine/flash/flash_steps.h"
#include "engine/flash/isothermal_flash.h"

#include <cmath>

namespace quorvane::detail {

namespace {

// The phase-identification parameter above which a phase is liquid-like.
constexpr double kLiquidLike = 1.0;

envelope::CubicMixture& ModelOf(const FlashMixture& mixture, FlashState& state) {
    envelope::CubicMixture& model = state.work.model;
    model.Bind(EosChoiceFromText(mixture.eosText), mixture.tcF, mixture.pcPsia, mixture.w,
               mixture.kij);
    return model;
}

void SinglePhase(const FlashMixture& mixture, std::span<const float> z, float tempF,
                 float pressPsia, FlashResults& out, FlashState& state) {
    const std::size_t n = z.size();
    envelope::CubicMixture& model = ModelOf(mixture, state);
    std::array<double, kMaxComponents> feed{};
    for (std::size_t i = 0; i < n; ++i) {
        feed[i] = z[i];
    }
    const std::span<const double> zd(feed.data(), n);
    const double tR = RankineOf(tempF);
    envelope::PhaseResult phase;
    double pip = 0.0;
    try {
        model.Evaluate(tR, pressPsia, zd, envelope::Root::LowerGibbs, envelope::kLnPhiOnly, phase);
        pip = model.PhaseIdentification(tR, pressPsia, zd, phase.z);
    } catch (const EngineError&) {
        return; // the result stands as the flash left it
    }
    if (!std::isfinite(pip)) {
        return;
    }
    const bool liquid = pip > kLiquidLike;
    const bool pure = SingleComponentPresent(z);
    for (std::size_t i = 0; i < n; ++i) {
        out.x[i] = z[i];
        out.y[i] = z[i];
        if (!pure) {
            out.k[i] = 1.0F;
        }
    }
    out.vapourFraction = liquid ? 0.0 : 1.0;
    out.liquidZ = ToSingle(phase.z);
    out.vapourZ = ToSingle(phase.z);
    out.residual = 0.0; // one stable phase: nothing to balance
}

void TwoPhases(const FlashMixture& mixture, std::span<const float> z, float tempF, float pressPsia,
               FlashResults& out, FlashState& state) {
    const std::size_t n = z.size();
    auto& ws = state.work;
    std::span<double> lnL(ws.lnPhiL.data(), n);
    std::span<double> lnV(ws.lnPhiV.data(), n);
    bool absent = false;
    for (std::size_t i = 0; i < n; ++i) {
        absent = absent || z[i] <= 0.0F;
    }
    if (absent) {
        try {
            BindMixture(mixture, state);
            EvaluateLogPhase<float>(state, Phase::Liquid, tempF, pressPsia, out.x, lnL);
            EvaluateLogPhase<float>(state, Phase::Vapour, tempF, pressPsia, out.y, lnV);
            for (std::size_t i = 0; i < n; ++i) {
                if (z[i] <= 0.0F) {
                    StoreSingle(out.k[i], std::exp(lnL[i] - lnV[i]));
                }
            }
        } catch (const EngineError&) {
        }
    }
    // The split is between two liquids when each phase is below its own pseudo-critical
    // temperature and liquid-like by Π. Near a critical point both phases of a vapour-liquid
    // split are dense enough to pass for liquids by Π alone; the temperature test, the cheaper,
    // comes first.
    try {
        if (!(tempF < PseudoCriticalTemperatureF(out.x, mixture.tcF, mixture.vc) &&
              tempF < PseudoCriticalTemperatureF(out.y, mixture.tcF, mixture.vc))) {
            return;
        }
        envelope::CubicMixture& model = ModelOf(mixture, state);
        std::array<double, kMaxComponents> x{};
        std::array<double, kMaxComponents> y{};
        for (std::size_t i = 0; i < n; ++i) {
            x[i] = out.x[i];
            y[i] = out.y[i];
        }
        const double tR = RankineOf(tempF);
        const double pipL = model.PhaseIdentification(
            tR, pressPsia, std::span<const double>(x.data(), n), out.liquidZ);
        const double pipV = model.PhaseIdentification(
            tR, pressPsia, std::span<const double>(y.data(), n), out.vapourZ);
        if (pipL > kLiquidLike && pipV > kLiquidLike) {
            out.warning = kSecondLiquidWarning;
        }
    } catch (const EngineError&) {
    }
}

} // namespace

void FinishIsothermal(const FlashMixture& mixture, std::span<const float> z, float tempF,
                      float pressPsia, FlashResults& out, FlashState& state) {
    if (!out.converged) {
        return;
    }
    const double v = out.vapourFraction;
    if (v == 0.0 || v == 1.0) {
        SinglePhase(mixture, z, tempF, pressPsia, out, state);
    } else if (v > 0.0 && v < 1.0) {
        TwoPhases(mixture, z, tempF, pressPsia, out, state);
    }
}

} // namespace quorvane::detail
