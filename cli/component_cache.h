#pragma once

#include "cli/component_catalog.h"
#include "cli/component_row.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A batch usually flashes one mixture at many conditions: every line repeats the same
// "components" array, and reading its numbers is most of the cost of a request. The cache
// keeps the validated components of the last few distinct arrays, keyed by their exact text.

namespace quorvane {

// Where the value of the top-level member `key` of a JSON object text lies ([begin, end) of
// its text), when the member is an array that occurs once, no top-level member name is spelled
// with escapes (it could be the same name) and the text has no comments.
// Nothing when the text does not have that simple shape; the caller then parses it whole.
std::optional<std::pair<std::size_t, std::size_t>> TopLevelArray(std::string_view text,
                                                                 std::string_view key);

class ComponentCache {
public:
    static constexpr std::size_t kEntries = 8;

    // The validated components of that array text, or nullptr when they are not cached.
    const std::vector<ComponentRow>* Find(std::string_view arrayText) const;
    const std::vector<ComponentRow>& Insert(std::string_view arrayText,
                                            std::vector<ComponentRow> components);

private:
    struct Entry {
        std::size_t hash = 0;
        std::string text;
        std::vector<ComponentRow> components;
    };
    std::vector<Entry> m_entries; // most recently inserted last
};

} // namespace quorvane
