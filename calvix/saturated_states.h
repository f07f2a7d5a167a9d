#pragma once

// The saturated liquid and vapour at a point of the saturation line, as the wet-steam
// functions need them.

#include "calvix/regions.h"

#include <optional>

namespace calvix {

struct SaturatedPair {
    Properties liquid;
    Properties vapour;
};

// At saturation temperature T (K) and saturation pressure p (MPa): regions 1 and 2 at
// (T, p) up to 623.15 K, region 3 at the saturated densities above it. Nothing when a
// saturated density cannot be found.
std::optional<SaturatedPair> SaturatedStates(double tK, double pMPa);

} // namespace calvix
