#pragma once

#include <chrono>
#include <cstddef>
#include <string_view>

#include "HighscoreService.hpp"
#include "HttpHandler.hpp"
#include "RunService.hpp"
#include "ScoreStore.hpp"
#include "ServerLevels.hpp"
#include "ServerOptions.hpp"
#include "TableCache.hpp"
#include "WebBoard.hpp"

// Every path the server answers and the body each may carry: the game's three
// POST paths, the two run paths (a submitted run queued for its replay), the
// web board, and /healthz for load balancers (200 while a write to the
// database goes through, else 503).
class ServerRoutes : public HttpHandler {
  public:
    ServerRoutes(ScoreStore& store, const ServerLevels& levels, const ServerOptions& options);

    std::size_t bodyLimit(std::string_view path) const override;
    HttpResponse handle(const HttpRequest& request) override;
    std::optional<HttpResponse> answerAtOnce(const HttpRequest& request) override;
    bool handleElsewhere(const HttpRequest& request, const Reply& reply) override;
    // The server stops: submissions waiting for a verdict are answered and
    // the replays stop.
    void stop();

  private:
    HttpResponse health();

    ScoreStore& store;
    TableCache tables;
    HighscoreService highscores;
    WebBoard board;
    RunService runs;
    std::size_t maxFormBody;
    // Names this server in the heartbeat row.
    std::string serverName;
};
