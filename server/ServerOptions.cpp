#include "ServerOptions.hpp"

#include <charconv>

#include "ScoreStore.hpp"

namespace {

bool parseListenAddress(const std::string& text, ServerOptions& options) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) {
        return false;
    }
    const std::string portText = text.substr(colon + 1);
    int port = -1;
    const auto result = std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (result.ec != std::errc() || result.ptr != portText.data() + portText.size() || port < 0 ||
        port > 65535) {
        return false;
    }
    options.host = text.substr(0, colon);
    options.port = port;
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
        if (argument != "--listen" && argument != "--db" && argument != "--import-sqlite") {
            error = "unknown option '" + argument + "'";
            return std::nullopt;
        }
        if (i + 1 == arguments.size()) {
            error = argument + " needs a value";
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        if (argument == "--db") {
            if (value.empty()) {
                error = "--db needs a file name or a postgresql:// URI";
                return std::nullopt;
            }
            options.databasePath = value;
        } else if (argument == "--import-sqlite") {
            if (value.empty()) {
                error = "--import-sqlite needs a file name";
                return std::nullopt;
            }
            options.importSqlitePath = value;
        } else if (!parseListenAddress(value, options)) {
            error = "--listen wants HOST:PORT with a port from 0 to 65535, not '" + value + "'";
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
    return "Usage: rollavortex-highscored [--listen HOST:PORT] [--db FILE|URI] [--help]\n"
           "       rollavortex-highscored --db postgresql://... --import-sqlite FILE\n"
           "\n"
           "Serves the Rollavortex online highscore tables over HTTP.\n"
           "\n"
           "  --listen HOST:PORT  address to listen on (default 127.0.0.1:8077);\n"
           "                      port 0 picks a free port, named in the log\n"
           "  --db FILE           SQLite database file, created when missing\n"
           "                      (default rollavortex-highscores.db)\n"
           "  --db URI            PostgreSQL database shared by several servers,\n"
           "                      postgresql://USER@HOST/DB (libpq's URI form)\n"
           "  --import-sqlite FILE  copy the SQLite board FILE into the empty\n"
           "                      PostgreSQL board of --db, then exit\n"
           "  --help              show this text and exit\n"
           "\n"
           "One log line per request goes to standard error. SIGTERM or SIGINT\n"
           "finishes the requests under way and stops the server.\n";
}
