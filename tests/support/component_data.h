#pragma once

// The bundled component table (data/components.csv), read once at run time: the one source of
// component data for the tests and benchmarks.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::testing {

// One row: the name and one number per ordinal (0 the key, 1 the name, so NaN, k >= 2 the
// column k - 1), NaN where the cell is empty.
struct ComponentData {
    std::string name;
    std::vector<double> cells;
};

// The file the rows come from.
std::filesystem::path BundledComponentsCsv();

// Every row, in file order. Throws std::runtime_error naming the file when it cannot be read.
const std::vector<ComponentData>& BundledComponents();

// The row of that exact name; throws std::invalid_argument when the table has none.
const ComponentData& BundledComponent(std::string_view name);

} // namespace quorvane::testing
