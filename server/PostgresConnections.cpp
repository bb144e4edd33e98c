#include "PostgresConnections.hpp"

namespace {

// Seconds to wait for the database when connecting. The game gives up on a
// request after 5 s, so waiting longer helps nobody.
constexpr const char* kConnectTimeoutSeconds = "5";
// A statement still running after 10 s (waiting for a lock, most likely) is
// cancelled, so a stuck transaction elsewhere cannot hold every worker.
constexpr const char* kSessionOptions = "-c statement_timeout=10000";
constexpr const char* kApplicationName = "rollavortex-highscored";

}  // namespace

PgResult runSql(PGconn* connection, const char* sql, const std::vector<std::string>& parameters) {
    // Not even tried on a broken connection, so that its error message still
    // says why it broke.
    if (PQstatus(connection) != CONNECTION_OK) {
        return nullptr;
    }
    std::vector<const char*> values;
    for (const std::string& parameter : parameters) {
        values.push_back(parameter.c_str());
    }
    return PgResult(PQexecParams(connection, sql, static_cast<int>(values.size()), nullptr,
                                 values.data(), nullptr, nullptr, 0));
}

bool succeeded(const PgResult& result) {
    if (!result) {
        return false;
    }
    const ExecStatusType status = PQresultStatus(result.get());
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

PgResult runScript(PGconn* connection, const char* sql) {
    if (PQstatus(connection) != CONNECTION_OK) {
        return nullptr;
    }
    return PgResult(PQexec(connection, sql));
}

std::string failureText(PGconn* connection, const PgResult& result) {
    std::string text = result ? PQresultErrorMessage(result.get()) : "";
    if (text.empty()) {
        text = PQerrorMessage(connection);
    }
    // libpq ends its messages with a line feed; the log wants one line.
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    for (char& c : text) {
        if (c == '\n' || c == '\t') {
            c = ' ';
        }
    }
    return text;
}

PostgresConnections::PostgresConnections(std::string uri, std::size_t maxOpen)
    : uri(std::move(uri)), maxOpen(maxOpen) {}

PgConnection PostgresConnections::connect() const {
    // Keywords are read in order and a later one wins, so whatever the URI
    // itself sets overrides these defaults.
    const char* keywords[] = {"connect_timeout", "options", "application_name", "dbname", nullptr};
    const char* values[] = {kConnectTimeoutSeconds, kSessionOptions, kApplicationName, uri.c_str(),
                            nullptr};
    return PgConnection(PQconnectdbParams(keywords, values, 1));
}

PostgresConnections::Lease PostgresConnections::borrow() {
    std::unique_lock lock(mutex);
    returned.wait(lock, [this] { return !idle.empty() || open < maxOpen; });
    if (idle.empty()) {
        ++open;
        lock.unlock();
        return Lease(*this, connect());
    }
    PgConnection connection = std::move(idle.back());
    idle.pop_back();
    lock.unlock();
    if (PQstatus(connection.get()) != CONNECTION_OK) {
        PQreset(connection.get());
    }
    return Lease(*this, std::move(connection));
}

void PostgresConnections::giveBack(PgConnection connection) {
    // A connection left inside a transaction would carry it into the next
    // call. A broken one is left for the next borrower to re-open.
    if (PQstatus(connection.get()) == CONNECTION_OK &&
        PQtransactionStatus(connection.get()) != PQTRANS_IDLE) {
        PQreset(connection.get());
    }
    {
        std::lock_guard lock(mutex);
        if (connection) {
            idle.push_back(std::move(connection));
        } else {
            --open;
        }
    }
    returned.notify_one();
}
