#pragma once

#include "cli/component_catalog.h"
#include "cli/request_error.h"

#include <map>
#include <string>

namespace quorvane::test {

// A catalogue with a few rows made up for the tests, or one that cannot be opened.
class FakeCatalog : public ComponentCatalog {
public:
    explicit FakeCatalog(bool broken = false) : m_broken(broken) {}

    void Add(const std::string& name, double tcF, double pcPsia, double omega) {
        ComponentRow row;
        row.name = name;
        row.cells[kOrdinalMolecularWeight] = 16.0;
        row.cells[kOrdinalCriticalTemperature] = tcF;
        row.cells[kOrdinalCriticalPressure] = pcPsia;
        row.cells[kOrdinalCriticalVolume] = 1.5;
        row.cells[kOrdinalCriticalZ] = 0.29;
        row.cells[kOrdinalBoilingTemperature] = -250.0;
        row.cells[kOrdinalAcentricFactor] = omega;
        for (std::size_t c = 0; c < 5; ++c) {
            row.cells[kOrdinalVapourPressureSet + c] = 1.0 + static_cast<double>(c);
        }
        row.cells[kOrdinalVapourPressureSet + kSetCodeOffset] = 6;
        row.cells[75] = 33000.0; // ideal-gas heat-capacity set, first cell
        m_rows[name] = row;
    }

    const ComponentRow* Find(std::string_view name) const override {
        if (m_broken) {
            throw RequestError("cannot open the component database \"missing.db\"");
        }
        auto it = m_rows.find(std::string(name));
        return it == m_rows.end() ? nullptr : &it->second;
    }

    std::vector<std::string> Names() const override {
        std::vector<std::string> names;
        for (const auto& [name, row] : m_rows) {
            names.push_back(name);
        }
        return names;
    }

private:
    bool m_broken;
    std::map<std::string, ComponentRow> m_rows;
};

} // namespace quorvane::test
