#include "data/component_database.h"

#include "data/program_layout.h"
#include "data/sqlite.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace quorvane {

namespace {

std::string OfferedQuery() {
    // Every required column present; names in the order a reader expects, whatever their case
    // ("n-BUTANE" among the N's), with the exact text and the key settling ties.
    std::string sql = "SELECT * FROM [DataBase] WHERE ";
    bool first = true;
    for (std::string_view column : kRequiredColumns) {
        if (!first) {
            sql += " AND ";
        }
        first = false;
        // Brackets always name a column; a double-quoted name of a missing column would be
        // taken as a text literal and let every row through.
        sql += "[";
        sql += column;
        sql += "] IS NOT NULL";
    }
    sql += " ORDER BY [COMP] COLLATE NOCASE, [COMP], [key]";
    return sql;
}

ComponentCell ReadCell(const SqliteStatement& statement, int column) {
    switch (statement.ColumnType(column)) {
    case SqliteType::Integer:
        return static_cast<double>(statement.ColumnInt(column));
    case SqliteType::Real:
        return statement.ColumnDouble(column);
    case SqliteType::Text:
        return statement.ColumnText(column);
    default:
        return std::monostate{}; // NULL, or a blob no ordinal can use
    }
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string CannotRead(const std::filesystem::path& path, const std::string& reason) {
    return "The component database \"" + path.string() + "\" cannot be read (" + reason +
           "). Replace it with the " + std::string(kComponentDatabaseFileName) +
           " made by the Quorvane build, in the program folder.";
}

} // namespace

ComponentDatabase::ComponentDatabase(const std::filesystem::path& path) : m_path(path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        throw ComponentDatabaseError(
            "The component database \"" + path.string() +
            "\" was not found. Build Quorvane again (the build writes " +
            std::string(kComponentDatabaseFileName) +
            " into the program folder) or copy that file beside the program.");
    }
    if (!std::filesystem::is_regular_file(path, ec)) {
        throw ComponentDatabaseError(CannotRead(path, "not a file"));
    }
    try {
        SqliteDatabase db(path, SqliteDatabase::Mode::ReadOnly);
        SqliteStatement query(db, OfferedQuery());
        const int columns = query.ColumnCount();
        if (columns < 2 || query.ColumnName(0) != "key" || query.ColumnName(1) != "COMP") {
            throw ComponentDatabaseError(
                CannotRead(path, "table DataBase does not begin with key and COMP"));
        }
        m_rowWidth = columns - 1;
        while (query.Step()) {
            ComponentRecord record;
            record.cells.reserve(static_cast<std::size_t>(columns));
            for (int c = 0; c < columns; ++c) {
                record.cells.push_back(ReadCell(query, c));
            }
            m_offered.push_back(std::move(record));
        }
    } catch (const SqliteError& e) {
        throw ComponentDatabaseError(CannotRead(path, e.what()));
    }
}

std::vector<std::string> ComponentDatabase::OfferedNames() const {
    std::vector<std::string> names;
    names.reserve(m_offered.size());
    for (const ComponentRecord& record : m_offered) {
        names.emplace_back(record.Name());
    }
    return names;
}

int ComponentDatabase::IndexOfName(std::string_view name) const {
    for (std::size_t i = 0; i < m_offered.size(); ++i) {
        if (m_offered[i].Name() == name) {
            return static_cast<int>(i);
        }
    }
    int found = -1;
    for (std::size_t i = 0; i < m_offered.size(); ++i) {
        if (EqualIgnoringCase(m_offered[i].Name(), name)) {
            if (found >= 0) {
                return -1; // ambiguous without the exact case
            }
            found = static_cast<int>(i);
        }
    }
    return found;
}

std::optional<ComponentRecord> ComponentDatabase::FindByName(std::string_view name) const {
    const int index = IndexOfName(name);
    if (index < 0) {
        return std::nullopt;
    }
    return m_offered[static_cast<std::size_t>(index)];
}

ComponentDatabase OpenComponentDatabase(const std::filesystem::path& path) {
    return ComponentDatabase(path);
}

std::filesystem::path ComponentDatabasePath(const std::filesystem::path& programDir) {
    return DataFolderOf(programDir) / kComponentDatabaseFileName;
}

} // namespace quorvane
