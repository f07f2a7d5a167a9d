#include "engine/flash/flash_steps.h"

#include "engine/eos/eos_choice.h"

#include <algorithm>
#include <cmath>

namespace quorvane::detail {

void CheckMixture(const FlashMixture& mixture, std::span<const float> composition) {
    const std::size_t n = composition.size();
    if (n == 0) {
        throw MixtureSizeError("the mixture has no components");
    }
    if (n > static_cast<std::size_t>(kMaxComponents)) {
        throw MixtureSizeError("the mixture has more than 25 components");
    }
    if (mixture.tcF.size() != n || mixture.pcPsia.size() != n || mixture.w.size() != n ||
        mixture.vapourPressure.size() != n) {
        throw MixtureSizeError("the component data do not match the number of components");
    }
    if (mixture.kij.data == nullptr || mixture.kij.stride < static_cast<int>(n)) {
        throw MixtureSizeError("the interaction-parameter table is smaller than the mixture");
    }
    if (EosChoiceFromText(mixture.eosText).equation == EosEquation::Unknown) {
        throw InvalidArgumentError("unknown equation of state");
    }
}

void BindMixture(const FlashMixture& mixture, FlashState& state) {
    state.work.eos.Bind(EosChoiceFromText(mixture.eosText), mixture.tcF, mixture.pcPsia, mixture.w,
                        mixture.kij);
}

double LargestLnK(std::span<const float> k, std::span<const float> z) {
    double largest = 0.0;
    for (std::size_t i = 0; i < k.size(); ++i) {
        if (z[i] > 0.0F && k[i] > 0.0F) {
            largest = std::max(largest, std::fabs(std::log(static_cast<double>(k[i]))));
        } else if (z[i] > 0.0F) {
            return 1e300; // a zero K is as far from the feed as it gets
        }
    }
    return largest;
}

bool SingleComponentPresent(std::span<const float> z) {
    return std::count_if(z.begin(), z.end(), [](float v) { return v > 0.0F; }) <= 1;
}

bool SoundFractions(std::span<const float> f) {
    double sum = 0.0;
    for (const float v : f) {
        if (!(std::isfinite(v) && v >= 0.0F && v <= 1.0F)) {
            return false;
        }
        sum += v;
    }
    return std::fabs(sum - 1.0) <= 1e-5;
}

SplitOutcome CheckSplitOutcome(const FlashResults& out, std::span<const float> feed) {
    if (!SoundFractions(out.x) || !SoundFractions(out.y)) {
        return SplitOutcome::Unphysical;
    }
    for (std::size_t i = 0; i < feed.size(); ++i) {
        if (feed[i] > 0.0F && !(std::isfinite(out.k[i]) && out.k[i] > 0.0F)) {
            return SplitOutcome::Unphysical;
        }
    }
    const double zScale = std::max(std::fabs(out.liquidZ), std::fabs(out.vapourZ));
    const bool sameRoot = std::fabs(out.liquidZ - out.vapourZ) <= kSameRootZ * zScale;
    if (SingleComponentPresent(feed)) {
        // K = 1 is the answer for one component; only distinct liquid and vapour roots make
        // it a saturation point.
        return sameRoot ? SplitOutcome::PureSupercritical : SplitOutcome::Sound;
    }
    const double lnK = LargestLnK(out.k, feed);
    if (lnK < kTrivialSaturationLnK || (lnK < kNearTrivialLnK && sameRoot)) {
        return SplitOutcome::Trivial;
    }
    return SplitOutcome::Sound;
}

} // namespace quorvane::detail
