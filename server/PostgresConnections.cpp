#include "PostgresConnections.hpp"

#include <charconv>
#include <cstdlib>

namespace {

// Seconds to wait for the database when connecting. The game gives up on a
// request after 5 s, so waiting longer helps nobody.
constexpr const char* kConnectTimeoutSeconds = "5";
// A statement still running after 10 s (waiting for a lock, most likely) is
// cancelled, so a stuck transaction elsewhere cannot hold every worker.
constexpr const char* kSessionOptions = "-c statement_timeout=10000";
constexpr const char* kApplicationName = "rollavortex-highscored";

}  // namespace

PgResult runSql(PGconn* connection, const char* sql, const std::vector<std::string>& parameters,
                std::initializer_list<int> bytes) {
    // Not even tried on a broken connection, so that its error message still
    // says why it broke.
    if (PQstatus(connection) != CONNECTION_OK) {
        return nullptr;
    }
    std::vector<const char*> values;
    std::vector<int> lengths;
    std::vector<int> formats(parameters.size(), 0);
    for (const std::string& parameter : parameters) {
        values.push_back(parameter.c_str());
        lengths.push_back(static_cast<int>(parameter.size()));
    }
    for (const int number : bytes) {
        formats.at(static_cast<std::size_t>(number - 1)) = 1;
    }
    return PgResult(PQexecParams(connection, sql, static_cast<int>(values.size()), nullptr,
                                 values.data(), lengths.data(), formats.data(), 0));
}

bool changedRows(const PgResult& result) {
    return std::atoi(PQcmdTuples(result.get())) > 0;
}

std::string numberText(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

double numberFrom(const char* text) {
    double value = 0;
    std::from_chars(text, text + std::char_traits<char>::length(text), value);
    return value;
}

std::string byteaField(const PGresult* result, int row, int column) {
    std::size_t length = 0;
    const auto* text = reinterpret_cast<const unsigned char*>(PQgetvalue(result, row, column));
    unsigned char* bytes = PQunescapeBytea(text, &length);
    if (bytes == nullptr) {
        return {};
    }
    std::string value(reinterpret_cast<const char*>(bytes), length);
    PQfreemem(bytes);
    return value;
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
