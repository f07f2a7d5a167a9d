#pragma once

// Small component tables written as CSV for tests: every property column filled unless blanked.

#include <set>
#include <string>
#include <vector>

namespace quorvane::testing {

inline constexpr int kPropertyColumns = 113;

inline std::string ComponentCsvHeader() {
    std::string text = "key,COMP";
    for (int c = 1; c <= kPropertyColumns; ++c) {
        text += ',';
        text += std::to_string(c);
    }
    return text + "\n";
}

// A row whose column c holds key + c/1000, except the blanked columns.
inline std::string ComponentCsvRow(int key, const std::string& name,
                                   const std::set<int>& blankColumns = {}) {
    std::string text = std::to_string(key) + ",\"" + name + "\"";
    for (int c = 1; c <= kPropertyColumns; ++c) {
        text += ",";
        if (!blankColumns.contains(c)) {
            text += std::to_string(key) + "." + std::to_string(1000 + c).substr(1);
        }
    }
    return text + "\n";
}

} // namespace quorvane::testing
