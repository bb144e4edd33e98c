#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "TempFolder.hpp"

// A throw-away PostgreSQL cluster made with Debian's initdb in a temporary
// folder and run as a child of the test program, listening only on a Unix
// socket in that folder, so that it clashes with no port and no other cluster.
// As root (CI) the server runs as the unprivileged `postgres` user, which
// initdb and postgres insist on. The server is stopped and its folder removed
// when the object goes away; should the test program die first, the server
// gets SIGQUIT from the kernel and shuts down at once.
class PostgresCluster {
  public:
    PostgresCluster() = default;
    ~PostgresCluster();
    PostgresCluster(const PostgresCluster&) = delete;
    PostgresCluster& operator=(const PostgresCluster&) = delete;

    // Creates the cluster and waits until it takes connections; false with the
    // reason in error(). Call it from the thread that outlives the cluster:
    // the kernel's stop signal follows the thread that started it.
    bool start();
    bool running() const { return postmaster > 0; }
    const std::string& error() const { return failure; }
    // Seconds start() took, initdb included.
    double startSeconds() const { return secondsToStart; }

    // A new, empty database; its URI for the server's --db, or "" with the
    // reason in error().
    std::string createDatabase();
    // Runs SQL with psql on the database at `uri`: the result rows, one per
    // line, fields joined by '|'; empty with the reason in error().
    std::optional<std::string> query(const std::string& uri, const std::string& sql);

  private:
    std::string uri(const std::string& database) const;
    void stop();

    TempFolder folder;
    std::string binaries;
    pid_t postmaster = -1;
    int databases = 0;
    int queries = 0;
    double secondsToStart = 0;
    std::string failure;
};

// The test program's one cluster, started on first use (keep that on the
// main thread) and stopped when the program ends. Starting costs about a
// second; each test takes a database of its own from createDatabase().
PostgresCluster& testCluster();
