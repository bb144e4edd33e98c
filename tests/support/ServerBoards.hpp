#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "PostgresCluster.hpp"
#include "ServerProcess.hpp"
#include "TempFolder.hpp"
#include "online/client/HighscoreClient.hpp"

// The two kinds of store the highscore server keeps its tables in.
enum class Backend { Sqlite, Postgres };

inline auto bothBackends() {
    return ::testing::Values(Backend::Sqlite, Backend::Postgres);
}

// How test names and failures name a backend.
inline void PrintTo(Backend backend, std::ostream* out) {
    *out << (backend == Backend::Sqlite ? "Sqlite" : "Postgres");
}
inline const auto backendName = ::testing::PrintToStringParamName();

// A new, empty board for the server's --db: a file in `folder`, or a database
// of its own on the test program's cluster. "" when the cluster failed; its
// error() says why.
inline std::string newBoard(Backend backend, const TempFolder& folder) {
    return backend == Backend::Sqlite ? folder.file("scores.db") : testCluster().createDatabase();
}

// A level's table as the game fetches it from `server`, as "position name
// seconds" lines; the day is left out, as two runs may straddle midnight.
inline std::string shownTable(const ServerProcess& server, int mode, int level) {
    HighscoreTable table;
    HighscoreClient(server.address()).fetchTable(mode, level, table);
    std::string text;
    for (unsigned r = 0; r < table.recordCount(); ++r) {
        text += table.field(r, 0) + " " + table.field(r, 2) + " " + table.field(r, 3) + "\n";
    }
    return text;
}
