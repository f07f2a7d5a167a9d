#pragma once

#include "engine/flash/flash_results.h"
#include "engine/flash/flash_state.h"

#include <span>

namespace quorvane {

// Splits feed z at T (°F) and P (psia) into vapour and liquid: V, x, y, K, the phase Z values.
// Successive substitution on the fugacity ratios with per-component acceleration; when the
// loop stalls or reaches its pass limit, the calculation continues (accelerated substitution,
// then Newton on ln K) until the fugacities agree; outside 0 < V < 1 the phase state follows
// from the pseudo-critical temperature and the bubble and dew pressures. A feed of one
// component is settled directly: the phase of lower fugacity.
// Throws an EngineError when the arithmetic fails in a way the routine cannot step over.
void IsothermalFlash(const FlashMixture& mixture, std::span<const float> z, float tempF,
                     float pressPsia, FlashResults& out, FlashState& state);

// Mixture pseudo-critical temperature (°F, 32-bit) by the volume-weighted rule.
float PseudoCriticalTemperatureF(std::span<const float> z, std::span<const float> tcF,
                                 std::span<const float> vc);

} // namespace quorvane
