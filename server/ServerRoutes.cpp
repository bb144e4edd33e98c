#include "ServerRoutes.hpp"

#include "online/HighscoreProtocol.hpp"

namespace {

constexpr std::string_view kHealthPath = "/healthz";

RunService::Settings runSettings(const ServerOptions& options) {
    RunService::Settings settings;
    settings.caps = {options.verifyPerAddress, options.verifyPerName, options.verifyQueue};
    settings.patience = options.verifyWait;
    settings.verifier = {options.verifyThreads, options.verifyReplays, options.replayNiceness};
    return settings;
}

}  // namespace

ServerRoutes::ServerRoutes(ScoreStore& store, const ServerLevels& levels,
                           const ServerOptions& options)
    : store(store),
      tables(store, options.tableCacheAge, options.verifiedOnly),
      highscores(store, tables, levels),
      board(tables, store, levels),
      runs(store, tables, levels, runSettings(options)),
      maxFormBody(options.maxFormBody),
      serverName(options.host + ":" + std::to_string(options.port)) {}

void ServerRoutes::stop() {
    runs.stop();
}

// A submitted run carries its whole run text; every other path takes a short
// form or no body at all.
std::size_t ServerRoutes::bodyLimit(std::string_view path) const {
    return RunService::verifies(path) ? HighscoreProtocol::kMaxRunBodyBytes : maxFormBody;
}

HttpResponse ServerRoutes::handle(const HttpRequest& request) {
    if (HighscoreService::serves(request.path)) {
        return highscores.handle(request);
    }
    if (RunService::fetches(request.path)) {
        return runs.fetch(request);
    }
    if (request.path == kHealthPath) {
        return health();
    }
    if (WebBoard::serves(request.path)) {
        return board.handle(request);
    }
    return errorResponse(404, "unknown path");
}

std::optional<HttpResponse> ServerRoutes::answerAtOnce(const HttpRequest& request) {
    return highscores.answerAtOnce(request);
}

bool ServerRoutes::handleElsewhere(const HttpRequest& request, const Reply& reply) {
    if (!RunService::verifies(request.path)) {
        return false;
    }
    runs.submit(request, reply);
    return true;
}

HttpResponse ServerRoutes::health() {
    if (!store.heartbeat(serverName)) {
        HttpResponse response = errorResponse(503, "database not taking writes");
        response.note += ": " + store.lastError();
        return response;
    }
    HttpResponse response;
    response.body = "OK\n";
    response.note = "healthy";
    return response;
}
