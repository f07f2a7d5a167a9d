#pragma once

// A thin RAII layer over SQLite: a connection and prepared statements that finalize themselves.
// Errors throw SqliteError with SQLite's own message.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace quorvane {

class SqliteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SqliteDatabase {
public:
    enum class Mode { ReadOnly, CreateReadWrite };

    SqliteDatabase(const std::filesystem::path& path, Mode mode);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Runs one or more statements without results.
    void Execute(std::string_view sql);
    sqlite3* Handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

// Cell types as SQLite reports them.
enum class SqliteType { Integer, Real, Text, Blob, Null };

class SqliteStatement {
public:
    SqliteStatement(SqliteDatabase& db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Advances to the next row; false when done.
    bool Step();
    void Reset();

    void BindNull(int index); // 1-based, as SQLite counts parameters
    void BindInt(int index, long long value);
    void BindDouble(int index, double value);
    void BindText(int index, std::string_view text);

    int ColumnCount() const;
    std::string ColumnName(int column) const;
    SqliteType ColumnType(int column) const;
    long long ColumnInt(int column) const;
    double ColumnDouble(int column) const;
    std::string ColumnText(int column) const;

private:
    void Check(int rc, const char* what) const;

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

// Runs a statement group inside one transaction: commit on Commit(), rollback otherwise.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteDatabase& db);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;
    void Commit();

private:
    SqliteDatabase& m_db;
    bool m_done = false;
};

} // namespace quorvane
