#include "data/component_record.h"

#include <limits>

namespace quorvane {

const ComponentCell& ComponentRecord::Cell(int ord) const {
    static const ComponentCell kEmpty;
    if (ord < 0 || ord >= static_cast<int>(cells.size())) {
        return kEmpty;
    }
    return cells[static_cast<std::size_t>(ord)];
}

std::optional<double> ComponentRecord::Number(int ord) const {
    if (const auto* value = std::get_if<double>(&Cell(ord))) {
        return *value;
    }
    return std::nullopt;
}

std::string_view ComponentRecord::Name() const {
    if (const auto* text = std::get_if<std::string>(&Cell(ordinal::kName))) {
        return *text;
    }
    return {};
}

std::vector<double> NumericCells(const ComponentRecord& record) {
    std::vector<double> values(record.cells.size(), std::numeric_limits<double>::quiet_NaN());
    for (std::size_t i = 0; i < record.cells.size(); ++i) {
        if (const auto* value = std::get_if<double>(&record.cells[i])) {
            values[i] = *value;
        }
    }
    return values;
}

} // namespace quorvane
