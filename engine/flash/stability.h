#pragma once

#include "engine/flash/flash_state.h"

#include <span>

// Phase stability of a feed by the tangent-plane criterion: trial phases started from
// Wilson-type K-values (vapour-like and liquid-like) are iterated by successive substitution;
// a trial whose tangent-plane distance comes out negative shows that the feed splits, and its
// composition gives starting K-values for the flash. Used where the substitution flash cannot
// tell a single phase from a split on its own.

namespace quorvane::detail {

struct StabilityResult {
    bool evaluated = false; // false when the equation of state failed on the way
    bool stable = true;
    // For an unstable feed: K-values (y/x) from the trial phase that split off.
    bool haveK = false;
};

// kStart: K-values to build the trial phases from (for example the flash's last K-values);
// kOut receives the K-values of an unstable split.
StabilityResult TestStability(FlashState& state, std::span<const float> z, float tempF,
                              float pressPsia, std::span<const double> kStart,
                              std::span<double> kOut);

} // namespace quorvane::detail
