#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "HttpLimits.hpp"

// The command line of rollavortex-highscored.
struct ServerOptions {
    std::string host = "127.0.0.1";
    // 0 lets the system pick a free port; the log line "listening on" names it.
    int port = 8077;
    // A SQLite file, or a PostgreSQL URI (postgresql://USER@HOST/DB).
    std::string databasePath = "rollavortex-highscores.db";
    // --import-sqlite: copy this SQLite board into the PostgreSQL one and exit.
    std::string importSqlitePath;
    // Longest body of the game's form requests, in bytes.
    std::size_t maxFormBody = 1024;
    // How long a table read from the database answers fetches.
    std::chrono::milliseconds tableCacheAge{1000};
    // Threads replaying submitted runs, and how many more runs may wait.
    std::size_t verifyThreads = 2;
    std::size_t verifyQueue = 8;
    // The tables list only times proven by a replayed run.
    bool verifiedOnly = false;
    HttpLimits limits;
    bool helpWanted = false;
};

// The options from the arguments after the program name, or empty with the
// reason in `error`.
std::optional<ServerOptions> parseServerOptions(const std::vector<std::string>& arguments,
                                                std::string& error);

// What --help prints.
std::string serverUsage();
