#pragma once

// What the steps of the property driver share: the inputs they read, gathered
// once, the skippable statement and the per-component rule "coefficient set
// when usable, else the generalized estimate". Internal to the mixture-property
// library.

#include "common/precision.h"
#include "engine/eos/engine_errors.h"
#include "engine/flash/flash_case.h"
#include "engine/properties/coefficient_set.h"
#include "engine/properties/departures.h"

#include <cmath>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace quorvane::property_steps {

// Stream indices of the three-stream arrays, and of the vapour and liquid in
// the two-stream arrays.
inline constexpr std::size_t kFeed = 0;
inline constexpr std::size_t kVapour = 1;
inline constexpr std::size_t kLiquid = 2;
inline constexpr std::size_t kVapourOnly = 0;
inline constexpr std::size_t kLiquidOnly = 1;

// One statement of the protected part of the calculation: the target takes the
// computed value only when it is finite (after narrowing to the target's
// storage, 32 bits for a stored result); otherwise it keeps its previous value.
// A root-finder failure counts as a failed statement.
template <typename Target, typename Compute>
void Store(Target &target, Compute &&compute) {
  static_assert(std::is_same_v<Target, float> ||
                std::is_same_v<Target, double>);
  double value = std::numeric_limits<double>::quiet_NaN();
  try {
    value = compute();
  } catch (const EngineError &) {
    return;
  }
  Target narrowed{};
  if constexpr (std::is_same_v<Target, float>) {
    narrowed = ToSingle(value);
  } else {
    narrowed = value;
  }
  if (std::isfinite(narrowed)) {
    target = narrowed;
  }
}

// Everything the steps read, gathered once.
struct Inputs {
  std::size_t n = 0;
  const FlashCase *flash = nullptr;
  const std::vector<std::vector<double>> *rows = nullptr;
  std::span<const std::string> names;
  EosChoice eos; // the case's equation of state, as the flash reads it
  KijTable kij;  // the interaction parameters the flash used
  double tempF = 0.0;
  double tempK = 0.0;
  double pressPsia = 0.0;
  double v = 0.0;
  bool vapour = false;          // present: v != 0
  bool liquid = false;          // present: v != 1
  std::vector<float> molWeight; // working arrays of 32-bit values
  std::vector<float> boilingF;

  [[nodiscard]] CoefficientSet Set(std::size_t i, int base) const {
    return CoefficientSet::FromRow((*rows)[i], base);
  }
  [[nodiscard]] std::string_view Name(std::size_t i) const {
    return i < names.size() ? std::string_view(names[i]) : std::string_view();
  }
  // The first n entries of a per-component array of the flash case.
  [[nodiscard]] std::span<const float>
  Of(const std::vector<float> &values) const {
    return std::span<const float>(values.data(), n);
  }
  [[nodiscard]] PhaseCondition Phase(std::span<const float> composition,
                                     double z) const {
    PhaseCondition phase;
    phase.equation = eos.equation;
    phase.variant = eos.variant;
    phase.tempF = flash->tempF;
    phase.pressPsia = flash->pressPsia;
    phase.x = composition;
    phase.z = z;
    phase.tcF = flash->tcF;
    phase.pcPsia = flash->pcPsia;
    phase.w = flash->w;
    phase.kij = kij.View();
    return phase;
  }
};

// Per component: the value of its coefficient set at `base` when the set is
// usable at T, otherwise estimate(i), which stores its own value into values[i]
// (or leaves it). Each component's value is one skippable statement.
template <typename Estimate>
void FromSetOrEstimate(const Inputs &in, int base, SetProperty property,
                       std::vector<float> &values, Estimate &&estimate) {
  for (std::size_t i = 0; i < in.n; ++i) {
    const CoefficientSet set = in.Set(i, base);
    if (set.IsUsableAt(in.tempK)) {
      const double tcK = FahrenheitToKelvin(in.flash->tcF[i]);
      Store(values[i],
            [&] { return EvaluateSet(set, property, in.tempK, tcK); });
    } else {
      estimate(i);
    }
  }
}

} // namespace quorvane::property_steps
