#pragma once

// Database rows of the components the property tests and benchmark use, read from the bundled
// component table (data/components.csv) when the tests run: one value per ordinal, ordinal 0 the
// key, ordinal 1 the name (not numeric, so NaN), ordinal k >= 2 the column k - 1. Empty cells
// are NaN, as the data layer hands them over.

#include "tests/support/component_data.h"

#include <cmath>

namespace quorvane::test_rows {

using ComponentRow = testing::ComponentData;

inline constexpr double kEmpty = NAN;

inline const ComponentRow& kNitrogen = testing::BundledComponent("NITROGEN");
inline const ComponentRow& kCarbonDioxide = testing::BundledComponent("CARBON DIOXIDE");
inline const ComponentRow& kMethane = testing::BundledComponent("METHANE");
inline const ComponentRow& kHydrogen = testing::BundledComponent("HYDROGEN");
inline const ComponentRow& kEthane = testing::BundledComponent("ETHANE");
inline const ComponentRow& kPropane = testing::BundledComponent("PROPANE");
inline const ComponentRow& kNButane = testing::BundledComponent("n-BUTANE");
inline const ComponentRow& kNPentane = testing::BundledComponent("n-PENTANE");
inline const ComponentRow& kNHexane = testing::BundledComponent("n-HEXANE");
inline const ComponentRow& kNHeptane = testing::BundledComponent("n-HEPTANE");
inline const ComponentRow& kNOctane = testing::BundledComponent("n-OCTANE");
inline const ComponentRow& kNDecane = testing::BundledComponent("n-DECANE");

} // namespace quorvane::test_rows
