#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "TempFolder.hpp"

// A throw-away PostgreSQL cluster in a temporary folder, made and run by
// pg-test-cluster.sh as a child of the test program, on a Unix socket in that
// folder. It is stopped and its folder removed when the object goes away.
class PostgresCluster {
  public:
    PostgresCluster() = default;
    ~PostgresCluster();
    PostgresCluster(const PostgresCluster&) = delete;
    PostgresCluster& operator=(const PostgresCluster&) = delete;

    // Makes the cluster and waits until it takes connections; false with the
    // reason in error(). The kernel stops the server when the thread that
    // started it ends.
    bool start();
    const std::string& error() const { return failure; }
    double startSeconds() const { return secondsToStart; }

    // A new, empty database: its URI for the server's --db, or "".
    std::string createDatabase();
    // Runs SQL with psql on the database at `uri`: the rows, one a line,
    // fields joined by '|'; empty when it failed.
    std::optional<std::string> query(const std::string& uri, const std::string& sql);

  private:
    TempFolder folder;
    pid_t server = -1;
    int databases = 0;
    int queries = 0;
    double secondsToStart = 0;
    std::string failure;
};

// The test program's one cluster, started on first use (keep that on the
// main thread) and stopped when the program ends.
PostgresCluster& testCluster();
