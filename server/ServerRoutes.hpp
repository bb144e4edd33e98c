#pragma once

#include <cstddef>
#include <string_view>

#include "HighscoreService.hpp"
#include "HttpHandler.hpp"
#include "ScoreStore.hpp"
#include "WebBoard.hpp"

// Every path the server answers and the body each may carry: the game's three
// POST paths, the web board, and /healthz for load balancers (200 while the
// database answers, else 503).
class ServerRoutes : public HttpHandler {
  public:
    ServerRoutes(ScoreStore& store, std::size_t maxFormBody);

    std::size_t bodyLimit(std::string_view path) const override;
    HttpResponse handle(const HttpRequest& request) override;

  private:
    HttpResponse health();

    ScoreStore& store;
    HighscoreService highscores;
    WebBoard board;
    std::size_t maxFormBody;
};
