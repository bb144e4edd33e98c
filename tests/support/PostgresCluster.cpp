#include "PostgresCluster.hpp"

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <regex>
#include <thread>
#include <vector>

#include "SpawnLogged.hpp"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kReadySeconds = 30;
constexpr std::chrono::milliseconds kPoll{10};

// postmaster.pid says "ready" on its eighth line once connections are taken.
bool serverReady(const std::string& pidFile) {
    static const std::regex eighthLineReady("^(?:[^\n]*\n){7}ready");
    return std::regex_search(slurpFile(pidFile), eighthLineReady);
}

}  // namespace

PostgresCluster::~PostgresCluster() {
    if (server > 0) {
        // The immediate shutdown: no final checkpoint for a folder about to go.
        kill(server, SIGQUIT);
        waitpid(server, nullptr, 0);
    }
}

bool PostgresCluster::start() {
    const auto begin = Clock::now();
    const std::string log = folder.file("server.log");
    server = spawnLogged({"sh", ROLLAVORTEX_PG_CLUSTER_SCRIPT, folder.path().string()}, log);
    const auto deadline = begin + std::chrono::duration<double>(kReadySeconds);
    while (server > 0 && Clock::now() < deadline) {
        if (serverReady(folder.file("data/postmaster.pid"))) {
            secondsToStart = std::chrono::duration<double>(Clock::now() - begin).count();
            return true;
        }
        if (waitpid(server, nullptr, WNOHANG) == server) {
            server = -1;
        }
        std::this_thread::sleep_for(kPoll);
    }
    failure = "the PostgreSQL test cluster did not start: " + slurpFile(log);
    return false;
}

std::optional<std::string> PostgresCluster::query(const std::string& uri, const std::string& sql) {
    const std::string output = folder.file("query" + std::to_string(++queries) + ".txt");
    const pid_t psql = spawnLogged(
        {"psql", "-X", "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1", "-d", uri, "-c", sql}, output);
    int status = -1;
    if (psql < 0 || waitpid(psql, &status, 0) != psql || status != 0) {
        failure = "psql failed: " + slurpFile(output);
        return std::nullopt;
    }
    return slurpFile(output);
}

std::string PostgresCluster::createDatabase() {
    const std::string socket = "?host=" + folder.file("run");
    const std::string name = "board" + std::to_string(++databases);
    if (server < 0 ||
        !query("postgresql://postgres@/postgres" + socket, "CREATE DATABASE " + name)) {
        return "";
    }
    return "postgresql://postgres@/" + name + socket;
}

PostgresCluster& testCluster() {
    static PostgresCluster cluster;
    static const bool started = cluster.start();
    if (started) {
        static const int said = std::fprintf(stderr, "PostgreSQL test cluster ready in %.2f s\n",
                                             cluster.startSeconds());
        (void)said;
    }
    return cluster;
}
