#include "ServerOptions.hpp"

#include <charconv>
#include <functional>

#include "ClientAddress.hpp"
#include "ScoreStore.hpp"

namespace {

// An option taking a whole number within [least, most].
struct NumberOption {
    const char* name;
    const char* valueName;
    long long least;
    long long most;
    const char* meaning;
    std::function<long long(const ServerOptions&)> get;
    std::function<void(ServerOptions&, long long)> set;
};

const std::vector<NumberOption>& numberOptions() {
    using Seconds = std::chrono::seconds;
    static const std::vector<NumberOption> options = {
        {"--table-cache-ms", "MS", 0, 60000,
         "how long a table read from the database answers fetches; a submission\n"
         "        through this server renews it at once, 0 reads every time",
         [](const ServerOptions& o) { return static_cast<long long>(o.tableCacheAge.count()); },
         [](ServerOptions& o, long long v) { o.tableCacheAge = std::chrono::milliseconds(v); }},
        {"--max-body", "BYTES", 0, 1 << 20, "longest body of a game request",
         [](const ServerOptions& o) { return static_cast<long long>(o.maxFormBody); },
         [](ServerOptions& o, long long v) { o.maxFormBody = static_cast<std::size_t>(v); }},
        {"--verify-threads", "N", 1, 64, "threads replaying submitted runs",
         [](const ServerOptions& o) { return static_cast<long long>(o.verifyThreads); },
         [](ServerOptions& o, long long v) { o.verifyThreads = static_cast<std::size_t>(v); }},
        {"--verify-queue", "N", 1, 1000000,
         "submitted runs that may wait for their verdict, over all servers\n"
         "        sharing the database; more are answered 503 busy",
         [](const ServerOptions& o) { return static_cast<long long>(o.verifyQueue); },
         [](ServerOptions& o, long long v) { o.verifyQueue = static_cast<std::size_t>(v); }},
        {"--verify-per-address", "N", 1, 1000000,
         "runs of one client address that may wait; more are answered 429",
         [](const ServerOptions& o) { return static_cast<long long>(o.verifyPerAddress); },
         [](ServerOptions& o, long long v) { o.verifyPerAddress = static_cast<std::size_t>(v); }},
        {"--verify-per-name", "N", 1, 1000000,
         "runs of one player name that may wait; more are answered 429",
         [](const ServerOptions& o) { return static_cast<long long>(o.verifyPerName); },
         [](ServerOptions& o, long long v) { o.verifyPerName = static_cast<std::size_t>(v); }},
        {"--verify-replays", "N", 1, 10000,
         "replays this server keeps under way at once, taking turns on the\n"
         "        threads (each holds under 1 MB)",
         [](const ServerOptions& o) { return static_cast<long long>(o.verifyReplays); },
         [](ServerOptions& o, long long v) { o.verifyReplays = static_cast<std::size_t>(v); }},
        {"--replay-nice", "N", 0, 19,
         "nice value of the replay threads: above 0 the answers to tables,\n"
         "        names and times never wait for a replay's turn on the CPU",
         [](const ServerOptions& o) { return static_cast<long long>(o.replayNiceness); },
         [](ServerOptions& o, long long v) { o.replayNiceness = static_cast<int>(v); }},
        {"--verify-wait-ms", "MS", 0, 4000,
         "how long a run submission waits for its verdict before it is\n"
         "        answered \"OK queued\"",
         [](const ServerOptions& o) { return static_cast<long long>(o.verifyWait.count()); },
         [](ServerOptions& o, long long v) { o.verifyWait = std::chrono::milliseconds(v); }},
        {"--max-body-bytes-in-flight", "BYTES", 1 << 20, 1LL << 40,
         "request bodies of all clients together on their way in; a request\n"
         "        that does not fit is answered 503",
         [](const ServerOptions& o) {
             return static_cast<long long>(o.limits.maxBodyBytesInFlight);
         },
         [](ServerOptions& o, long long v) {
             o.limits.maxBodyBytesInFlight = static_cast<std::size_t>(v);
         }},
        {"--max-header-bytes", "BYTES", 256, 1 << 20, "longest request line and headers",
         [](const ServerOptions& o) { return static_cast<long long>(o.limits.maxHeaderBytes); },
         [](ServerOptions& o, long long v) {
             o.limits.maxHeaderBytes = static_cast<std::size_t>(v);
         }},
        {"--max-header-lines", "N", 1, 10000, "most header lines of a request",
         [](const ServerOptions& o) { return static_cast<long long>(o.limits.maxHeaderLines); },
         [](ServerOptions& o, long long v) {
             o.limits.maxHeaderLines = static_cast<std::size_t>(v);
         }},
        {"--request-timeout", "SECONDS", 1, 3600,
         "time for a request from its first byte on, and again for its answer",
         [](const ServerOptions& o) {
             return static_cast<long long>(o.limits.requestTimeout.count());
         },
         [](ServerOptions& o, long long v) { o.limits.requestTimeout = Seconds(v); }},
        {"--idle-timeout", "SECONDS", 1, 3600, "how long a kept-alive connection may stay idle",
         [](const ServerOptions& o) {
             return static_cast<long long>(o.limits.idleTimeout.count());
         },
         [](ServerOptions& o, long long v) { o.limits.idleTimeout = Seconds(v); }},
        {"--max-connections-per-address", "N", 1, 1000000, "open connections per client address",
         [](const ServerOptions& o) { return o.limits.maxConnectionsPerAddress; },
         [](ServerOptions& o, long long v) {
             o.limits.maxConnectionsPerAddress = static_cast<int>(v);
         }},
        {"--rate-limit", "N", 1, 1000000, "requests per second per client address",
         [](const ServerOptions& o) { return o.limits.requestsPerSecond; },
         [](ServerOptions& o, long long v) { o.limits.requestsPerSecond = static_cast<int>(v); }},
        {"--rate-burst", "N", 1, 1000000, "requests a client address may send at once",
         [](const ServerOptions& o) { return o.limits.requestBurst; },
         [](ServerOptions& o, long long v) { o.limits.requestBurst = static_cast<int>(v); }},
    };
    return options;
}

const NumberOption* findNumberOption(const std::string& name) {
    for (const NumberOption& option : numberOptions()) {
        if (name == option.name) {
            return &option;
        }
    }
    return nullptr;
}

bool parseNumber(const std::string& text, long long least, long long most, long long& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && value >= least &&
           value <= most;
}

bool parseListenAddress(const std::string& text, ServerOptions& options) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) {
        return false;
    }
    long long port = -1;
    if (!parseNumber(text.substr(colon + 1), 0, 65535, port)) {
        return false;
    }
    options.host = text.substr(0, colon);
    options.port = static_cast<int>(port);
    return true;
}

// Applies `value` to the option `name`; false with the reason in `error`.
bool applyOption(const std::string& name, const std::string& value, ServerOptions& options,
                 std::string& error) {
    if (name == "--db") {
        if (value.empty()) {
            error = "--db needs a file name or a postgresql:// URI";
            return false;
        }
        options.databasePath = value;
        return true;
    }
    if (name == "--import-sqlite") {
        if (value.empty()) {
            error = "--import-sqlite needs a file name";
            return false;
        }
        options.importSqlitePath = value;
        return true;
    }
    if (name == "--levels") {
        if (value.empty()) {
            error = "--levels needs a folder";
            return false;
        }
        options.levelFolders.push_back(value);
        return true;
    }
    if (name == "--trusted-proxy") {
        const auto address = parseIpAddress(value);
        if (!address) {
            error = "--trusted-proxy wants an IP address, not '" + value + "'";
            return false;
        }
        options.limits.trustedProxies.push_back(*address);
        return true;
    }
    if (name == "--listen") {
        if (!parseListenAddress(value, options)) {
            error = "--listen wants HOST:PORT with a port from 0 to 65535, not '" + value + "'";
            return false;
        }
        return true;
    }
    const NumberOption* option = findNumberOption(name);
    long long number = 0;
    if (!parseNumber(value, option->least, option->most, number)) {
        error = name + " wants a whole number from " + std::to_string(option->least) + " to " +
                std::to_string(option->most) + ", not '" + value + "'";
        return false;
    }
    option->set(options, number);
    return true;
}

}  // namespace

std::optional<ServerOptions> parseServerOptions(const std::vector<std::string>& arguments,
                                                std::string& error) {
    ServerOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.helpWanted = true;
            continue;
        }
        if (argument == "--verified-only") {
            options.verifiedOnly = true;
            continue;
        }
        if (argument != "--listen" && argument != "--db" && argument != "--import-sqlite" &&
            argument != "--trusted-proxy" && argument != "--levels" &&
            !findNumberOption(argument)) {
            error = "unknown option '" + argument + "'";
            return std::nullopt;
        }
        if (i + 1 == arguments.size()) {
            error = argument + " needs a value";
            return std::nullopt;
        }
        if (!applyOption(argument, arguments[++i], options, error)) {
            return std::nullopt;
        }
    }
    if (!options.importSqlitePath.empty() && !isPostgresLocation(options.databasePath)) {
        error = "--import-sqlite copies into a PostgreSQL board: give --db postgresql://...";
        return std::nullopt;
    }
    return options;
}

std::string serverUsage() {
    std::string text =
        "Usage: rollavortex-highscored [--listen HOST:PORT] [--db FILE|URI] [OPTIONS] [--help]\n"
        "       rollavortex-highscored --db postgresql://... --import-sqlite FILE\n"
        "\n"
        "Serves the Rollavortex online highscore tables over HTTP, and a web\n"
        "board of them at /. GET /healthz answers 200 while a write to the\n"
        "database goes through, else 503.\n"
        "\n"
        "  --listen HOST:PORT  address to listen on (default 127.0.0.1:8077);\n"
        "                      port 0 picks a free port, named in the log;\n"
        "                      an IPv6 address in brackets: [::1]:8077\n"
        "  --db FILE           SQLite database file, created when missing\n"
        "                      (default rollavortex-highscores.db)\n"
        "  --db URI            PostgreSQL database shared by several servers,\n"
        "                      postgresql://USER@HOST/DB (libpq's URI form)\n"
        "  --import-sqlite FILE  copy the SQLite board FILE into the empty\n"
        "                      PostgreSQL board of --db, then exit\n"
        "  --levels DIR        a folder of level files and packs (repeat for\n"
        "                      several) to keep tables for, besides the game's\n"
        "                      own levels and the packs of its data folder; read\n"
        "                      once at the start, a level that cannot be played\n"
        "                      is logged and left out\n"
        "  --verified-only     the tables list only times proven by a run the\n"
        "                      server replayed (default: every time)\n"
        "  --trusted-proxy ADDR  a reverse proxy (repeat for several): from it\n"
        "                      only, the client is the last address of\n"
        "                      X-Forwarded-For, and its connections are not\n"
        "                      capped per address\n"
        "  --help              show this text and exit\n"
        "\n"
        "Tuning, and limits per client, an IPv4 address or an IPv6 /64 (a\n"
        "request breaking a limit gets a 4xx answer, or 503 for a limit of all\n"
        "clients together, and its connection is closed):\n";
    const ServerOptions defaults;
    for (const NumberOption& option : numberOptions()) {
        text += std::string("  ") + option.name + " " + option.valueName + "\n        " +
                option.meaning + " (default " + std::to_string(option.get(defaults)) + ")\n";
    }
    return text +
           "\n"
           "One log line per request goes to standard error. SIGTERM or SIGINT\n"
           "finishes the requests under way, stops the replays (their runs stay\n"
           "queued in the database) and stops the server.\n";
}
