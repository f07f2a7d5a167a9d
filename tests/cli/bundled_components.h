#pragma once

// Components as a request gives them with their own data, the numbers taken from the bundled
// component table (data/components.csv) when the tests run.

#include "tests/support/component_data.h"

#include <nlohmann/json.hpp>
#include <string_view>

namespace quorvane::testing {

// A coefficient set of the row as a request writes it.
inline nlohmann::json SetOf(const ComponentData& row, std::size_t base) {
    const auto& c = row.cells;
    return {{"code", c.at(base + 7)},
            {"C", {c.at(base), c.at(base + 1), c.at(base + 2), c.at(base + 3), c.at(base + 4)}},
            {"Tmin_K", c.at(base + 5)},
            {"Tmax_K", c.at(base + 6)}};
}

// The component with the fields the flash needs and nothing more: MW, Tc, Pc, Vc, Zc, the
// acentric factor and the vapour-pressure set.
inline nlohmann::json FlashFieldsOf(std::string_view name) {
    const ComponentData& row = BundledComponent(name);
    const auto& c = row.cells;
    return {{"name", row.name}, {"MW", c.at(2)}, {"Tc_F", c.at(3)},   {"Pc_psia", c.at(4)},
            {"Vc", c.at(5)},    {"Zc", c.at(6)}, {"omega", c.at(17)}, {"vp", SetOf(row, 19)}};
}

} // namespace quorvane::testing
