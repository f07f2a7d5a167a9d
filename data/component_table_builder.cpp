#include "data/component_table_builder.h"

#include "data/csv.h"
#include "data/sqlite.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

namespace quorvane {

namespace {

std::string Where(const std::filesystem::path& csvPath, std::size_t line) {
    return csvPath.string() + ", line " + std::to_string(line) + ": ";
}

void CheckHeader(const CsvRow& header, const std::filesystem::path& csvPath) {
    if (header.size() < 3 || header[0] != "key" || header[1] != "COMP") {
        throw ComponentCsvError(Where(csvPath, 1) + "the header must begin with key,COMP,1");
    }
    for (std::size_t i = 2; i < header.size(); ++i) {
        if (header[i] != std::to_string(i - 1)) {
            throw ComponentCsvError(Where(csvPath, 1) + "column " + std::to_string(i + 1) +
                                    " must be named \"" + std::to_string(i - 1) + "\"");
        }
    }
}

// A finite number filling the whole cell. "nan" and "inf" are refused: SQLite would store a
// NaN as NULL, silently dropping the row from the offered components.
bool ParseDouble(const std::string& text, double& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && std::isfinite(value);
}

std::string CreateTableSql(std::size_t propertyColumns) {
    std::string sql = "CREATE TABLE DataBase (key INTEGER PRIMARY KEY, COMP TEXT";
    for (std::size_t i = 1; i <= propertyColumns; ++i) {
        sql += ", \"" + std::to_string(i) + "\" REAL";
    }
    sql += ")";
    return sql;
}

std::string InsertSql(std::size_t columns) {
    std::string sql = "INSERT INTO DataBase VALUES (?";
    for (std::size_t i = 1; i < columns; ++i) {
        sql += ",?";
    }
    sql += ")";
    return sql;
}

} // namespace

int BuildComponentDatabase(const std::filesystem::path& csvPath,
                           const std::filesystem::path& dbPath) {
    std::ifstream in(csvPath, std::ios::binary);
    if (!in) {
        throw ComponentCsvError("cannot read " + csvPath.string());
    }
    const std::vector<CsvRow> rows = ReadCsv(in);
    if (rows.empty()) {
        throw ComponentCsvError(csvPath.string() + " is empty");
    }
    CheckHeader(rows[0], csvPath);
    const std::size_t columns = rows[0].size();

    std::filesystem::path tempPath = dbPath;
    tempPath += ".tmp";
    std::filesystem::remove(tempPath);
    try {
        {
            SqliteDatabase db(tempPath, SqliteDatabase::Mode::CreateReadWrite);
            db.Execute(CreateTableSql(columns - 2));
            SqliteTransaction transaction(db);
            SqliteStatement insert(db, InsertSql(columns));
            for (std::size_t r = 1; r < rows.size(); ++r) {
                const CsvRow& row = rows[r];
                const std::size_t line = r + 1;
                if (row.size() != columns) {
                    throw ComponentCsvError(Where(csvPath, line) + std::to_string(row.size()) +
                                            " fields, expected " + std::to_string(columns));
                }
                double key = 0.0;
                if (!ParseDouble(row[0], key) ||
                    key != static_cast<double>(static_cast<long long>(key))) {
                    throw ComponentCsvError(Where(csvPath, line) + "the key must be an integer");
                }
                insert.BindInt(1, static_cast<long long>(key));
                insert.BindText(2, row[1]);
                for (std::size_t c = 2; c < columns; ++c) {
                    double value = 0.0;
                    if (row[c].empty()) {
                        insert.BindNull(static_cast<int>(c) + 1);
                    } else if (ParseDouble(row[c], value)) {
                        insert.BindDouble(static_cast<int>(c) + 1, value);
                    } else {
                        throw ComponentCsvError(Where(csvPath, line) + "column \"" + rows[0][c] +
                                                "\" holds \"" + row[c] + "\", not a number");
                    }
                }
                try {
                    insert.Step();
                } catch (const SqliteError& e) {
                    throw ComponentCsvError(Where(csvPath, line) + e.what());
                }
                insert.Reset();
            }
            transaction.Commit();
        }
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(tempPath, ignored);
        throw;
    }
    std::filesystem::rename(tempPath, dbPath);
    return static_cast<int>(rows.size() - 1);
}

} // namespace quorvane
