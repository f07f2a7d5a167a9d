#pragma once

#include "engine/envelope/cubic_mixture.h"
#include "engine/envelope/mixture_envelope.h"

#include <span>

// The feed of the envelope functions in 64 bits, with the model bound to its mixture.

namespace quorvane::envelope {

struct Feed {
    Vec z{};         // normalised
    int size = 0;    // components of the mixture
    int present = 0; // components with a nonzero amount

    std::span<const double> Composition() const {
        return {z.data(), static_cast<std::size_t>(size)};
    }
};

// Binds the model to the mixture (throws MixtureSizeError when the arrays do not match) and
// normalises the feed (throws InvalidArgumentError when it is empty or not finite).
Feed BindFeed(CubicMixture& model, const EnvelopeMixture& mixture, std::span<const float> z);

} // namespace quorvane::envelope
