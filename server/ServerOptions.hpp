#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
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
    // --levels: folders of custom levels and packs the server keeps tables
    // for, beside the game's own levels and the data folder's packs.
    std::vector<std::filesystem::path> levelFolders;
    // Longest body of the game's form requests, in bytes.
    std::size_t maxFormBody = 1024;
    // How long a table read from the database answers fetches.
    std::chrono::milliseconds tableCacheAge{1000};
    // Threads replaying submitted runs.
    std::size_t verifyThreads = 2;
    // Runs waiting for their verdict, in all (every server sharing the
    // database together), per client address and per name.
    std::size_t verifyQueue = 64;
    std::size_t verifyPerAddress = 3;
    std::size_t verifyPerName = 3;
    // Replays this server keeps under way at once, taking turns on its
    // threads (each holds a level's physics world, under 1 MB).
    std::size_t verifyReplays = 32;
    // How long a run submission waits for its verdict before it is answered
    // "OK queued".
    std::chrono::milliseconds verifyWait{2000};
    int replayNiceness = 10;
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
