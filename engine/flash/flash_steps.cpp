#include "engine/flash/flash_steps.h"

#include "engine/eos/eos_choice.h"

#include <algorithm>

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

} // namespace quorvane::detail
