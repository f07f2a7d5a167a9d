#include "data/sqlite.h"

#include <sqlite3.h>
#include <string>

namespace quorvane {

namespace {

std::string Message(sqlite3* db, const char* what) {
    std::string text = what;
    text += ": ";
    text += db != nullptr ? sqlite3_errmsg(db) : "out of memory";
    return text;
}

} // namespace

SqliteDatabase::SqliteDatabase(const std::filesystem::path& path, Mode mode) {
    const int flags =
        mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(path.string().c_str(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string text = Message(m_db, "cannot open database");
        sqlite3_close(m_db);
        m_db = nullptr;
        throw SqliteError(text);
    }
    sqlite3_extended_result_codes(m_db, 1);
}

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close(m_db);
}

void SqliteDatabase::Execute(std::string_view sql) {
    const std::string text(sql);
    char* error = nullptr;
    if (sqlite3_exec(m_db, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error != nullptr ? error : sqlite3_errmsg(m_db);
        sqlite3_free(error);
        throw SqliteError(message);
    }
}

SqliteStatement::SqliteStatement(SqliteDatabase& db, std::string_view sql) : m_db(db.Handle()) {
    const int rc =
        sqlite3_prepare_v2(m_db, sql.data(), static_cast<int>(sql.size()), &m_stmt, nullptr);
    Check(rc, "cannot prepare statement");
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_stmt);
}

void SqliteStatement::Check(int rc, const char* what) const {
    if (rc != SQLITE_OK) {
        throw SqliteError(Message(m_db, what));
    }
}

bool SqliteStatement::Step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    throw SqliteError(Message(m_db, "cannot read"));
}

void SqliteStatement::Reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

void SqliteStatement::BindNull(int index) {
    Check(sqlite3_bind_null(m_stmt, index), "cannot bind");
}

void SqliteStatement::BindInt(int index, long long value) {
    Check(sqlite3_bind_int64(m_stmt, index, value), "cannot bind");
}

void SqliteStatement::BindDouble(int index, double value) {
    Check(sqlite3_bind_double(m_stmt, index, value), "cannot bind");
}

void SqliteStatement::BindText(int index, std::string_view text) {
    Check(sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()),
                            SQLITE_TRANSIENT),
          "cannot bind");
}

int SqliteStatement::ColumnCount() const {
    return sqlite3_column_count(m_stmt);
}

std::string SqliteStatement::ColumnName(int column) const {
    const char* name = sqlite3_column_name(m_stmt, column);
    return name != nullptr ? name : "";
}

SqliteType SqliteStatement::ColumnType(int column) const {
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return SqliteType::Integer;
    case SQLITE_FLOAT:
        return SqliteType::Real;
    case SQLITE_TEXT:
        return SqliteType::Text;
    case SQLITE_BLOB:
        return SqliteType::Blob;
    default:
        return SqliteType::Null;
    }
}

long long SqliteStatement::ColumnInt(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

double SqliteStatement::ColumnDouble(int column) const {
    return sqlite3_column_double(m_stmt, column);
}

std::string SqliteStatement::ColumnText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    const int size = sqlite3_column_bytes(m_stmt, column);
    return text != nullptr ? std::string(text, static_cast<std::size_t>(size)) : std::string();
}

SqliteTransaction::SqliteTransaction(SqliteDatabase& db) : m_db(db) {
    m_db.Execute("BEGIN");
}

SqliteTransaction::~SqliteTransaction() {
    if (!m_done) {
        sqlite3_exec(m_db.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void SqliteTransaction::Commit() {
    m_db.Execute("COMMIT");
    m_done = true;
}

} // namespace quorvane
