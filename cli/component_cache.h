#pragma once

#include "cli/component_catalog.h"
#include "cli/component_row.h"
#include "engine/flash/flash_case.h"
#include "engine/properties/property_components.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A batch usually flashes one mixture at many conditions: every line repeats the same
// "components" array, and reading its numbers and working out the components' constants is
// most of the cost of a request. The cache keeps, for the last few distinct arrays (keyed by
// their exact text), the validated components with everything made from them once.

namespace quorvane {

// A components array validated and prepared for runs at any state: the rows, the case's
// component data as the flash reads it (n, Tc, Pc, w, Vc, Zc and the vapour-pressure sets, in a
// flash case holding nothing else) and the property driver's constants.
struct PreparedMixture {
    std::vector<ComponentRow> rows;
    FlashCase components;
    PropertyComponents properties;

    [[nodiscard]] std::size_t Size() const { return rows.size(); }
};

// Fills the case's component count and component data from validated rows (32-bit values of
// their cells).
void FillComponentData(FlashCase& flashCase, const std::vector<ComponentRow>& rows);

std::unique_ptr<const PreparedMixture> PrepareMixture(std::vector<ComponentRow> rows);

class ComponentCache {
public:
    static constexpr std::size_t kEntries = 8;

    // The prepared components of that array text, or nullptr when they are not cached.
    const PreparedMixture* Find(std::string_view arrayText);
    // Prepares and keeps the validated components of the array text (the least recently
    // found entry makes room).
    const PreparedMixture& Insert(std::string_view arrayText, std::vector<ComponentRow> components);
    // The array text found or inserted last (empty when there is none).
    [[nodiscard]] std::string_view Latest() const {
        return m_entries.empty() ? std::string_view() : std::string_view(m_entries.back().text);
    }

private:
    struct Entry {
        std::size_t hash = 0;
        std::string text;
        std::unique_ptr<const PreparedMixture> mixture;
    };
    std::vector<Entry> m_entries; // most recently found or inserted last
};

} // namespace quorvane
