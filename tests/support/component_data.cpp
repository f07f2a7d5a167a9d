#include "tests/support/component_data.h"

#include "data/csv.h"

#include <charconv>
#include <fstream>
#include <limits>
#include <stdexcept>

namespace quorvane::testing {

namespace {

double CellNumber(const std::string& text, std::size_t line, std::size_t column) {
    if (text.empty()) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    double value = 0.0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc() || end != text.data() + text.size()) {
        throw std::runtime_error(BundledComponentsCsv().string() + ", line " +
                                 std::to_string(line) + ", column " + std::to_string(column) +
                                 ": \"" + text + "\" is not a number");
    }
    return value;
}

std::vector<ComponentData> ReadTable() {
    std::ifstream in(BundledComponentsCsv(), std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read the component table " +
                                 BundledComponentsCsv().string());
    }
    const std::vector<CsvRow> rows = ReadCsv(in);
    if (rows.size() < 2 || rows[0].size() < 3 || rows[0][0] != "key" || rows[0][1] != "COMP") {
        throw std::runtime_error(BundledComponentsCsv().string() +
                                 " does not hold the component table (key, COMP, 1, 2, ...)");
    }
    std::vector<ComponentData> table;
    table.reserve(rows.size() - 1);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const CsvRow& row = rows[r];
        ComponentData data;
        data.name = row.size() > 1 ? row[1] : std::string();
        data.cells.assign(rows[0].size(), std::numeric_limits<double>::quiet_NaN());
        for (std::size_t c = 0; c < row.size() && c < data.cells.size(); ++c) {
            if (c != 1) {
                data.cells[c] = CellNumber(row[c], r + 1, c + 1);
            }
        }
        table.push_back(std::move(data));
    }
    return table;
}

} // namespace

std::filesystem::path BundledComponentsCsv() {
    return QUORVANE_COMPONENTS_CSV;
}

const std::vector<ComponentData>& BundledComponents() {
    static const std::vector<ComponentData> table = ReadTable();
    return table;
}

const ComponentData& BundledComponent(std::string_view name) {
    for (const ComponentData& row : BundledComponents()) {
        if (row.name == name) {
            return row;
        }
    }
    throw std::invalid_argument("the component table has no component \"" + std::string(name) +
                                "\"");
}

} // namespace quorvane::testing
