#include "cli/component_cache.h"

#include "common/precision.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace quorvane {

void FillComponentData(FlashCase& flashCase, const std::vector<ComponentRow>& rows) {
    const std::size_t n = rows.size();
    flashCase.n = static_cast<std::int16_t>(n);
    flashCase.tcF.resize(n);
    flashCase.pcPsia.resize(n);
    flashCase.w.resize(n);
    flashCase.vc.resize(n);
    flashCase.zc.resize(n);
    flashCase.vapourPressure.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::vector<double>& cells = rows[i].cells;
        flashCase.tcF[i] = ToSingle(cells[kOrdinalCriticalTemperature]);
        flashCase.pcPsia[i] = ToSingle(cells[kOrdinalCriticalPressure]);
        flashCase.w[i] = ToSingle(cells[kOrdinalAcentricFactor]);
        flashCase.vc[i] = ToSingle(cells[kOrdinalCriticalVolume]);
        flashCase.zc[i] = ToSingle(cells[kOrdinalCriticalZ]);
        VapourPressureSet& vp = flashCase.vapourPressure[i];
        for (std::size_t c = 0; c < vp.c.size(); ++c) {
            vp.c[c] = ToSingle(cells[kOrdinalVapourPressureSet + c]);
        }
        vp.code = static_cast<std::int16_t>(cells[kOrdinalVapourPressureSet + kSetCodeOffset]);
    }
}

std::unique_ptr<const PreparedMixture> PrepareMixture(std::vector<ComponentRow> rows) {
    auto mixture = std::make_unique<PreparedMixture>();
    FillComponentData(mixture->components, rows);
    std::vector<std::vector<double>> cells;
    std::vector<std::string> names;
    for (const ComponentRow& row : rows) {
        cells.push_back(row.cells);
        names.push_back(row.name);
    }
    mixture->properties = PropertyComponents(mixture->components, cells, names);
    mixture->rows = std::move(rows);
    return mixture;
}

const PreparedMixture* ComponentCache::Find(std::string_view arrayText) {
    // A batch repeats one array: the last one found is compared first, without hashing.
    if (!m_entries.empty() && m_entries.back().text == arrayText) {
        return m_entries.back().mixture.get();
    }
    const std::size_t hash = std::hash<std::string_view>{}(arrayText);
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->hash == hash && it->text == arrayText) {
            std::rotate(it, it + 1, m_entries.end());
            return m_entries.back().mixture.get();
        }
    }
    return nullptr;
}

const PreparedMixture& ComponentCache::Insert(std::string_view arrayText,
                                              std::vector<ComponentRow> components) {
    if (m_entries.size() >= kEntries) {
        m_entries.erase(m_entries.begin());
    }
    m_entries.push_back(Entry{std::hash<std::string_view>{}(arrayText), std::string(arrayText),
                              PrepareMixture(std::move(components))});
    return *m_entries.back().mixture;
}

} // namespace quorvane
