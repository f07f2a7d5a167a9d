#pragma once

// The number-format table: the 55 display slots with their settings keys (section "NumFormat")
// and default patterns, in the order they are read and written. Patterns are applied with
// FormatNumber (number_format.h).

#include <span>
#include <string_view>

namespace quorvane {

struct NumberFormatSlot {
    std::string_view key;            // "TForm", "PForm", ..., "stmIEForm"
    std::string_view defaultPattern; // "##,##0.00", ...
};

inline constexpr int kNumberFormatSlotCount = 55;

std::span<const NumberFormatSlot> NumberFormatSlots();

// The slot index of a key, or -1 for an unknown key.
int NumberFormatSlotIndex(std::string_view key);

// Column formats of the results composition grid.
inline constexpr std::string_view kFractionColumnFormat = "#.######";
inline constexpr std::string_view kKValueColumnFormat = "###.####";

} // namespace quorvane
