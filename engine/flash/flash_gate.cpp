#include "engine/flash/flash_gate.h"

#include "engine/eos/engine_errors.h"
#include "engine/flash/flash_steps.h"
#include "engine/flash/isothermal_checks.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace quorvane {

namespace {

bool OnFloor(FlashType type, const FlashResults& out) {
    const bool computedT =
        type == FlashType::BUBT || type == FlashType::DEWT || type == FlashType::PV;
    const bool computedP =
        type == FlashType::BUBP || type == FlashType::DEWP || type == FlashType::TV;
    if (computedT && !(out.tempF > -455.0F)) {
        return true;
    }
    return computedP &&
           (!(out.pressPsia > 0.0F) || out.pressPsia == 1e-6F || out.pressPsia == 1e-5F);
}

double LargestImbalance(std::span<const float> z, const FlashResults& out) {
    const double v = out.vapourFraction;
    double largest = 0.0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        const double formed = v * out.y[i] + (1.0 - v) * out.x[i];
        largest = std::max(largest, std::fabs(z[i] - formed));
    }
    return largest;
}

double LargestDifference(std::span<const float> a, std::span<const float> b) {
    double largest = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        largest = std::max(largest, std::fabs(static_cast<double>(a[i]) - b[i]));
    }
    return largest;
}

// Why the result is not a sound answer, or an empty text.
std::string Unsound(FlashType type, const FlashMixture& mixture, std::span<const float> z,
                    FlashResults& out, FlashState& state) {
    if (OnFloor(type, out)) {
        return "the iteration ended on the lowest temperature or pressure it allows";
    }
    if (!detail::SoundFractions(out.x) || !detail::SoundFractions(out.y)) {
        return "a phase composition is not a set of mole fractions";
    }
    if (!(std::isfinite(out.liquidZ) && out.liquidZ > 0.0F && std::isfinite(out.vapourZ) &&
          out.vapourZ > 0.0F)) {
        return "a compressibility factor is not positive";
    }
    const bool bubble = type == FlashType::BUBP || type == FlashType::BUBT;
    const bool dew = type == FlashType::DEWP || type == FlashType::DEWT;
    const double v = out.vapourFraction;
    const bool onePhase = type == FlashType::TP && (v == 0.0 || v == 1.0);
    if (!(v >= 0.0 && v <= 1.0)) {
        return "the vapour fraction lies outside 0..1";
    }
    // The mole balance of the feed.
    const double imbalance = bubble ? LargestDifference(out.x, z)
                             : dew  ? LargestDifference(out.y, z)
                                    : LargestImbalance(z, out);
    if (imbalance > kGateBalance) {
        return "the mole balance of the feed does not close";
    }
    if (onePhase) {
        return {};
    }
    for (std::size_t i = 0; i < z.size(); ++i) {
        if (!(std::isfinite(out.k[i]) && out.k[i] > 0.0F)) {
            return "a K-value is not a positive number";
        }
    }
    // The equation of the flash type.
    double sum = 0.0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        const double k = out.k[i];
        if (bubble) {
            sum += k * out.x[i];
        } else if (dew) {
            sum += out.y[i] / k;
        } else {
            sum += z[i] * (k - 1.0) / (1.0 + v * (k - 1.0));
        }
    }
    const double equation = bubble || dew ? sum - 1.0 : sum;
    if (!(std::fabs(equation) <= kGateSum)) {
        return bubble ? "the sum of K·x is not 1"
               : dew  ? "the sum of y/K is not 1"
                      : "the vapour fraction does not satisfy the Rachford-Rice equation";
    }
    double mismatch = 0.0;
    try {
        detail::BindMixture(mixture, state);
        mismatch = detail::StoredFugacityMismatch(state, z, out.tempF, out.pressPsia, out.x, out.y);
    } catch (const EngineError&) {
        return "the phases could not be evaluated";
    }
    if (!(mismatch <= kGateFugacity)) {
        return "the fugacities of the phases differ";
    }
    return {};
}

} // namespace

void ApplyFinalGate(FlashType type, const FlashMixture& mixture, std::span<const float> z,
                    FlashResults& out, FlashState& state) {
    if (!out.converged) {
        return;
    }
    const std::string why = Unsound(type, mixture, z, out, state);
    if (!why.empty()) {
        detail::MarkUnconverged(out, out.residual,
                                "The result failed the final check (" + why +
                                    "); it is the last iterate, not an answer.");
        out.otherPoint = OtherPoint{};
    }
}

} // namespace quorvane
