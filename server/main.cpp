// rollavortex-highscored: serves the game's online highscore tables.
#include <httplib.h>
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "BoardImport.hpp"
#include "HighscoreService.hpp"
#include "ScoreStore.hpp"
#include "ServerOptions.hpp"
#include "app/DataFolder.hpp"

namespace {

// Every exchange of the game ends within its own 5 s; a client that stalls
// longer than that is gone.
constexpr int kSocketTimeoutSeconds = 5;
constexpr std::chrono::milliseconds kStopRetry{20};

int serve(const ServerOptions& options) {
    std::string error;
    const auto store = openScoreStore(options.databasePath, error);
    if (!store) {
        logLine("cannot open database " + options.databasePath + ": " + error);
        return 1;
    }

    // The signals are taken by one waiting thread rather than a handler, so
    // stopping can use the library normally. The mask is set before any other
    // thread starts, so all of them inherit it.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    httplib::Server server;
    HighscoreService service(*store);
    service.attach(server);
    server.set_read_timeout(kSocketTimeoutSeconds, 0);
    server.set_write_timeout(kSocketTimeoutSeconds, 0);

    int port = options.port;
    const bool bound = port == 0 ? (port = server.bind_to_any_port(options.host)) > 0
                                 : server.bind_to_port(options.host, port);
    if (!bound) {
        logLine("cannot listen on " + options.host + ":" + std::to_string(options.port));
        return 1;
    }
    logLine("listening on " + options.host + ":" + std::to_string(port) + ", database " +
            options.databasePath);
    const DataFolderChoice data = findDataFolder();
    logLine("level files from " + data.folder.string() + " (" + data.reason + ")");

    std::atomic<bool> listenEnded{false};
    std::atomic<bool> stopRequested{false};
    std::thread signalWaiter([&] {
        int received = 0;
        sigwait(&stopSignals, &received);
        if (!listenEnded) {
            stopRequested = true;
            logLine(std::string("stopping on ") + (received == SIGINT ? "SIGINT" : "SIGTERM") +
                    ", finishing requests under way");
        }
        // A signal that lands before the accept loop runs would be lost on a
        // single stop(), so keep asking until the loop has ended.
        while (!listenEnded) {
            server.stop();
            std::this_thread::sleep_for(kStopRetry);
        }
    });

    const bool listened = server.listen_after_bind();
    listenEnded = true;
    if (!stopRequested) {
        // The server ended by itself: wake the waiting thread.
        pthread_kill(signalWaiter.native_handle(), SIGTERM);
    }
    signalWaiter.join();

    if (!stopRequested && !listened) {
        logLine("the server stopped unexpectedly");
        return 1;
    }
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
