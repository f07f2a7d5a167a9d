#pragma once

// The component database: an SQLite file (components.db in the program folder) with the table
// DataBase (key, COMP, "1".."113"). It is opened read-only; the offered components are the rows
// whose required columns are all present, in name order.

#include "data/component_record.h"

#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The file name of the database in the program folder.
inline constexpr std::string_view kComponentDatabaseFileName = "components.db";

// The database cannot be opened or read; the message names the file and what to do.
class ComponentDatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Columns that must be present for a component to be offered: molecular weight, Tc, Pc, Vc, Zc,
// Tb, acentric factor, reference enthalpy and entropy, and the first cells of the
// vapour-pressure and ideal-gas heat-capacity sets.
inline constexpr std::string_view kRequiredColumns[] = {"1",  "2",  "3",  "4",  "5", "6",
                                                        "16", "11", "13", "18", "74"};

class ComponentDatabase {
public:
    // Reads every offered row at once; the file is closed again before this returns.
    explicit ComponentDatabase(const std::filesystem::path& path);

    const std::filesystem::path& Path() const { return m_path; }

    // The offered components, in name order (case-insensitive, as users read a list).
    std::span<const ComponentRecord> Offered() const { return m_offered; }
    std::vector<std::string> OfferedNames() const;
    // Number of fields of a row less one (ordinal of the last column).
    int RowWidth() const { return m_rowWidth; }

    // The offered component of that name: an exact match first, else the only one whose name
    // matches ignoring case. nullopt when none (or several) match.
    std::optional<ComponentRecord> FindByName(std::string_view name) const;
    // Position of that name in Offered() (same matching), or -1.
    int IndexOfName(std::string_view name) const;

private:
    std::filesystem::path m_path;
    std::vector<ComponentRecord> m_offered;
    int m_rowWidth = 0;
};

// Opens the database read-only and reads the offered components. Throws ComponentDatabaseError
// when the file is missing, unreadable or not a component database.
ComponentDatabase OpenComponentDatabase(const std::filesystem::path& path);

// The database file of a program in that folder: beside it in the build tree, in the data
// folder when installed (program_layout.h).
std::filesystem::path ComponentDatabasePath(const std::filesystem::path& programDir);

} // namespace quorvane
