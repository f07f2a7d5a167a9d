#include "cli/json_numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace quorvane {

nlohmann::ordered_json SingleNumber(float value) {
    if (!std::isfinite(value)) {
        return nullptr;
    }
    // Shortest round-trip text of the float, read back as the double nearest to that text.
    char text[32];
    const auto result = std::to_chars(text, text + sizeof(text) - 1, value);
    *result.ptr = '\0';
    return std::strtod(text, nullptr);
}

nlohmann::ordered_json DoubleNumber(double value) {
    if (!std::isfinite(value)) {
        return nullptr;
    }
    return value;
}

} // namespace quorvane
