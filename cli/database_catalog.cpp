#include "cli/database_catalog.h"

#include "cli/request_error.h"
#include "data/component_database.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace quorvane {

namespace {

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

} // namespace

DatabaseCatalog::DatabaseCatalog(std::filesystem::path path) : m_path(std::move(path)) {}

DatabaseCatalog::~DatabaseCatalog() = default;

void DatabaseCatalog::Load() const {
    std::call_once(m_once, [this] {
        try {
            m_database = std::make_unique<ComponentDatabase>(OpenComponentDatabase(m_path));
        } catch (const std::exception& error) {
            m_error = error.what();
            return;
        }
        std::unordered_map<std::string, int> upperCount;
        for (const ComponentRecord& record : m_database->Offered()) {
            ComponentRow row;
            row.name = std::string(record.Name());
            std::vector<double> cells = NumericCells(record);
            cells.resize(std::max(cells.size(), kComponentRowCells),
                         std::numeric_limits<double>::quiet_NaN());
            row.cells = std::move(cells);
            for (int ord = ordinal::kMolecularWeight; ord <= record.Width(); ++ord) {
                if (const auto* text = std::get_if<std::string>(&record.Cell(ord))) {
                    row.textCells.emplace_back(static_cast<std::size_t>(ord), *text);
                }
            }
            m_byName.emplace(row.name, m_rows.size());
            ++upperCount[Upper(row.name)];
            m_rows.push_back(std::move(row));
        }
        // A name matches ignoring case only when no other offered name does.
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            std::string upper = Upper(m_rows[i].name);
            if (upperCount[upper] == 1) {
                m_byUpperName.emplace(std::move(upper), i);
            }
        }
    });
    if (!m_error.empty()) {
        throw RequestError(m_error);
    }
}

const ComponentRow* DatabaseCatalog::Find(std::string_view name) const {
    Load();
    if (auto it = m_byName.find(std::string(name)); it != m_byName.end()) {
        return &m_rows[it->second];
    }
    if (auto it = m_byUpperName.find(Upper(name)); it != m_byUpperName.end()) {
        return &m_rows[it->second];
    }
    return nullptr;
}

std::vector<std::string> DatabaseCatalog::Names() const {
    Load();
    std::vector<std::string> names;
    names.reserve(m_rows.size());
    for (const ComponentRow& row : m_rows) {
        names.push_back(row.name);
    }
    return names;
}

} // namespace quorvane
