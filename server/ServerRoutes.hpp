#pragma once

#include <chrono>
#include <cstddef>
#include <string_view>

#include "HighscoreService.hpp"
#include "HttpHandler.hpp"
#include "ScoreStore.hpp"
#include "TableCache.hpp"
#include "WebBoard.hpp"

// Every path the server answers and the body each may carry: the game's three
// POST paths, the web board, and /healthz for load balancers (200 while the
// database answers, else 503).
class ServerRoutes : public HttpHandler {
  public:
    ServerRoutes(ScoreStore& store, std::size_t maxFormBody,
                 std::chrono::milliseconds tableCacheAge);

    std::size_t bodyLimit(std::string_view path) const override;
    HttpResponse handle(const HttpRequest& request) override;
    std::optional<HttpResponse> answerAtOnce(const HttpRequest& request) override;

  private:
    HttpResponse health();

    ScoreStore& store;
    TableCache tables;
    HighscoreService highscores;
    WebBoard board;
    std::size_t maxFormBody;
};
