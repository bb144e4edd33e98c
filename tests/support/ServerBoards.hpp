#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "PostgresCluster.hpp"
#include "TempFolder.hpp"

// The two kinds of store the highscore server keeps its tables in.
enum class Backend { Sqlite, Postgres };

inline auto bothBackends() {
    return ::testing::Values(Backend::Sqlite, Backend::Postgres);
}

// How test names and failures name a backend.
inline void PrintTo(Backend backend, std::ostream* out) {
    *out << (backend == Backend::Sqlite ? "Sqlite" : "Postgres");
}
inline std::string backendName(const ::testing::TestParamInfo<Backend>& info) {
    return ::testing::PrintToString(info.param);
}

// A new, empty board for the server's --db: a file in `folder`, or a database
// of its own on the test program's cluster. "" when the cluster failed; its
// error() says why.
inline std::string newBoard(Backend backend, const TempFolder& folder) {
    return backend == Backend::Sqlite ? folder.file("scores.db") : testCluster().createDatabase();
}
