#include "ServerRoutes.hpp"

#include "online/HighscoreProtocol.hpp"

namespace {

constexpr std::string_view kHealthPath = "/healthz";

}  // namespace

ServerRoutes::ServerRoutes(ScoreStore& store, const ServerOptions& options,
                           boost::asio::thread_pool& workers)
    : store(store),
      tables(store, options.tableCacheAge, options.verifiedOnly),
      highscores(store, tables),
      board(tables),
      verification(options.verifyThreads, options.verifyQueue),
      runs(store, tables, verification, workers),
      maxFormBody(options.maxFormBody) {}

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
    runs.verify(request, reply);
    return true;
}

HttpResponse ServerRoutes::health() {
    if (!store.ping()) {
        HttpResponse response = errorResponse(503, "database not answering");
        response.note += ": " + store.lastError();
        return response;
    }
    HttpResponse response;
    response.body = "OK\n";
    response.note = "healthy";
    return response;
}
