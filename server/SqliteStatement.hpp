#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>

// A prepared SQLite statement that is finalised however the call ends.
class SqliteStatement {
  public:
    SqliteStatement(sqlite3* db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    explicit operator bool() const { return statement != nullptr; }

    // Parameters count from 1; false when the value cannot be bound.
    bool bind(int index, int value);
    bool bind(int index, std::int64_t value);
    bool bind(int index, double value);
    bool bind(int index, const std::string& value);
    // Bytes kept as they are, whatever they hold.
    bool bindBlob(int index, const std::string& value);

    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step();

    // Columns count from 0.
    int intColumn(int column) const;
    std::int64_t int64Column(int column) const;
    double doubleColumn(int column) const;
    std::string textColumn(int column) const;
    // The bytes of a blob or text column, as they are.
    std::string blobColumn(int column) const;
    bool isNull(int column) const;

  private:
    sqlite3_stmt* statement = nullptr;
};
