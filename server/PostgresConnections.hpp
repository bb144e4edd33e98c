#pragma once

#include <libpq-fe.h>

#include <condition_variable>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct PgConnectionClose {
    void operator()(PGconn* connection) const { PQfinish(connection); }
};
struct PgResultClear {
    void operator()(PGresult* result) const { PQclear(result); }
};
using PgConnection = std::unique_ptr<PGconn, PgConnectionClose>;
using PgResult = std::unique_ptr<PGresult, PgResultClear>;

// Runs one statement with text parameters ($1, $2, ...); the result holds
// the error when it failed. Empty when the connection is broken or memory ran
// out: the connection then has the reason. The parameters whose numbers (from
// 1) are in `bytes` travel as raw bytes, for bytea columns: a text parameter
// ends at its first NUL and must be valid UTF-8.
PgResult runSql(PGconn* connection, const char* sql, const std::vector<std::string>& parameters,
                std::initializer_list<int> bytes = {});
// Whether the statement of `result` changed any row.
bool changedRows(const PgResult& result);
// A number as a parameter, exact both ways: the shortest text that reads
// back as the same double.
std::string numberText(double value);
// A number field of a result.
double numberFrom(const char* text);
// The bytes of a bytea field of a row, as they were stored.
std::string byteaField(const PGresult* result, int row, int column);
// Runs statements without parameters, separated by ";"; as runSql.
PgResult runScript(PGconn* connection, const char* sql);
// Whether the statement of `result` succeeded.
bool succeeded(const PgResult& result);
// The reason of a failed statement, or of the connection when there is none.
std::string failureText(PGconn* connection, const PgResult& result);

// Connections to one PostgreSQL database for the server's worker threads:
// opened as they are needed, up to a bound, and kept. libpq lets one thread
// at a time use a connection, so each call borrows one for its duration. A
// connection that broke (the database restarted, the network failed) is
// re-opened when it is next borrowed.
class PostgresConnections {
  public:
    // A borrowed connection, given back when the lease goes away.
    class Lease {
      public:
        Lease(PostgresConnections& owner, PgConnection connection)
            : owner(owner), connection(std::move(connection)) {}
        ~Lease() { owner.giveBack(std::move(connection)); }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;

        PGconn* get() const { return connection.get(); }

      private:
        PostgresConnections& owner;
        PgConnection connection;
    };

    PostgresConnections(std::string uri, std::size_t maxOpen);

    // Waits while all connections are in use; the connection may be broken
    // when the database cannot be reached, which its first statement reports.
    Lease borrow();

  private:
    PgConnection connect() const;
    void giveBack(PgConnection connection);

    const std::string uri;
    const std::size_t maxOpen;
    std::mutex mutex;
    std::condition_variable returned;
    std::vector<PgConnection> idle;
    std::size_t open = 0;
};
