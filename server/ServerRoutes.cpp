#include "ServerRoutes.hpp"

namespace {

constexpr std::string_view kHealthPath = "/healthz";

}  // namespace

ServerRoutes::ServerRoutes(ScoreStore& store, std::size_t maxFormBody,
                           std::chrono::milliseconds tableCacheAge)
    : store(store),
      tables(store, tableCacheAge),
      highscores(store, tables),
      board(tables),
      maxFormBody(maxFormBody) {}

// The game's forms are the largest bodies so far, and every other path takes
// none, so one limit serves all; a path that needs more (an uploaded run) gets
// its own here.
std::size_t ServerRoutes::bodyLimit(std::string_view) const {
    return maxFormBody;
}

HttpResponse ServerRoutes::handle(const HttpRequest& request) {
    if (HighscoreService::serves(request.path)) {
        return highscores.handle(request);
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
