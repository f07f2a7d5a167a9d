#pragma once

// Builds the component database file from its CSV source: table DataBase with `key` INTEGER
// PRIMARY KEY, `COMP` TEXT and the property columns "1".."N" as REAL (an empty cell is NULL).
// Used by the build (tools/make_component_db) and by tests that need a database of their own.

#include <filesystem>
#include <stdexcept>

namespace quorvane {

// The CSV does not have the table's layout; the message names the line.
class ComponentCsvError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes `dbPath` anew (through a temporary file, so a failed build leaves no half-made
// database). Returns the number of rows written.
int BuildComponentDatabase(const std::filesystem::path& csvPath,
                           const std::filesystem::path& dbPath);

} // namespace quorvane
