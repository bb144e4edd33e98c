// rollavortex-highscored: serves the game's online highscore tables.
#include <signal.h>
#include <sys/resource.h>

#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/thread_pool.hpp>
#include <cstdio>
#include <string>
#include <vector>

#include "BoardImport.hpp"
#include "HttpServer.hpp"
#include "LevelFolders.hpp"
#include "RunIdentity.hpp"
#include "ScoreStore.hpp"
#include "ServerLog.hpp"
#include "ServerOptions.hpp"
#include "ServerRoutes.hpp"
#include "sim/base/DataFolder.hpp"

namespace {

// Threads that run requests against the store; the network thread never waits
// for the database.
constexpr int kWorkerThreads = 4;
// Descriptors kept back from client connections: the database, its journal,
// the log and whatever the libraries open.
constexpr rlim_t kReservedDescriptors = 64;

// Raises the descriptor limit as far as allowed (idle connections are cheap,
// so there may be many) and gives back how many connections fit.
std::size_t connectionBudget() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) {
        return 1024 - kReservedDescriptors;
    }
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
    getrlimit(RLIMIT_NOFILE, &limit);
    return limit.rlim_cur > 2 * kReservedDescriptors ? limit.rlim_cur - kReservedDescriptors
                                                     : kReservedDescriptors;
}

int serve(const ServerOptions& options) {
    std::string error;
    const auto store = openScoreStore(options.databasePath, error);
    if (!store) {
        logLine("cannot open database " + options.databasePath + ": " + error);
        return 1;
    }
    signal(SIGPIPE, SIG_IGN);

    if (!giveOldRunsIdentities(*store)) {
        return 1;
    }
    const auto levels = readServerLevels(options.levelFolders, *store);
    if (!levels) {
        return 1;
    }

    boost::asio::io_context io(1);
    boost::asio::thread_pool workers(kWorkerThreads);
    ServerRoutes routes(*store, *levels, options);
    HttpServer server(io, options.limits, routes, workers, connectionBudget());
    if (!server.listen(options.host, options.port, error)) {
        logLine("cannot listen on " + options.host + ":" + std::to_string(options.port) + ": " +
                error);
        return 1;
    }
    const DataFolderChoice data = findDataFolder();
    logLine("listening on " + options.host + ":" + std::to_string(server.port()) + ", database " +
            options.databasePath + ", level files from " + data.folder.string() + " (" +
            data.reason + ")");

    boost::asio::signal_set stopSignals(io, SIGTERM, SIGINT);
    stopSignals.async_wait([&](const boost::system::error_code& failure, int received) {
        if (failure) {
            return;
        }
        logLine(std::string("stopping on ") + (received == SIGINT ? "SIGINT" : "SIGTERM") +
                ", finishing requests under way; runs waiting for their verdict stay queued");
        routes.stop();
        server.stop();
    });
    // Returns once the server has stopped and its last connection is closed.
    io.run();
    workers.join();
    logLine("stopped");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string error;
    const auto options = parseServerOptions(arguments, error);
    if (!options) {
        std::fprintf(stderr, "rollavortex-highscored: %s\n\n%s", error.c_str(),
                     serverUsage().c_str());
        return 2;
    }
    if (options->helpWanted) {
        std::fputs(serverUsage().c_str(), stdout);
        return 0;
    }
    if (!options->importSqlitePath.empty()) {
        return importSqliteBoard(options->importSqlitePath, options->databasePath);
    }
    return serve(*options);
}
