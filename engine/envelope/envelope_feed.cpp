#include "engine/envelope/envelope_feed.h"

#include "engine/eos/engine_errors.h"

#include <cmath>

namespace quorvane::envelope {

Feed BindFeed(CubicMixture& model, const EnvelopeMixture& mixture, std::span<const float> z) {
    if (z.size() != mixture.tcF.size()) {
        throw MixtureSizeError("the feed and the component data differ in length");
    }
    model.Bind(mixture.eos, mixture.tcF, mixture.pcPsia, mixture.w, mixture.kij);
    if (model.Eos().equation == EosEquation::Unknown) {
        throw InvalidArgumentError("unknown equation of state");
    }
    Feed feed;
    feed.size = static_cast<int>(z.size());
    double total = 0.0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        if (!(z[i] >= 0.0F) || !std::isfinite(z[i])) {
            throw InvalidArgumentError("a feed fraction is negative or not a number");
        }
        total += z[i];
        feed.present += z[i] > 0.0F ? 1 : 0;
    }
    if (!(total > 0.0)) {
        throw InvalidArgumentError("the feed is empty");
    }
    for (std::size_t i = 0; i < z.size(); ++i) {
        feed.z[i] = z[i] / total;
    }
    return feed;
}

} // namespace quorvane::envelope
