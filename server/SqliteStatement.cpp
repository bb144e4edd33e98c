#include "SqliteStatement.hpp"

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        statement = nullptr;
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement);
}

bool SqliteStatement::bind(int index, int value) {
    return sqlite3_bind_int(statement, index, value) == SQLITE_OK;
}

bool SqliteStatement::bind(int index, std::int64_t value) {
    return sqlite3_bind_int64(statement, index, value) == SQLITE_OK;
}

bool SqliteStatement::bind(int index, double value) {
    return sqlite3_bind_double(statement, index, value) == SQLITE_OK;
}

bool SqliteStatement::bind(int index, const std::string& value) {
    return sqlite3_bind_text(statement, index, value.data(), static_cast<int>(value.size()),
                             SQLITE_TRANSIENT) == SQLITE_OK;
}

bool SqliteStatement::bindBlob(int index, const std::string& value) {
    return sqlite3_bind_blob64(statement, index, value.data(), value.size(), SQLITE_TRANSIENT) ==
           SQLITE_OK;
}

int SqliteStatement::step() {
    return statement ? sqlite3_step(statement) : SQLITE_MISUSE;
}

int SqliteStatement::intColumn(int column) const {
    return sqlite3_column_int(statement, column);
}

std::int64_t SqliteStatement::int64Column(int column) const {
    return sqlite3_column_int64(statement, column);
}

double SqliteStatement::doubleColumn(int column) const {
    return sqlite3_column_double(statement, column);
}

std::string SqliteStatement::textColumn(int column) const {
    const auto* text = sqlite3_column_text(statement, column);
    const int bytes = sqlite3_column_bytes(statement, column);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes))
                : std::string();
}

std::string SqliteStatement::blobColumn(int column) const {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
    const int size = sqlite3_column_bytes(statement, column);
    return bytes ? std::string(bytes, static_cast<std::size_t>(size)) : std::string();
}

bool SqliteStatement::isNull(int column) const {
    return sqlite3_column_type(statement, column) == SQLITE_NULL;
}
