#pragma once

#include <boost/asio/thread_pool.hpp>
#include <chrono>
#include <cstddef>
#include <string_view>

#include "HighscoreService.hpp"
#include "HttpHandler.hpp"
#include "RunService.hpp"
#include "ScoreStore.hpp"
#include "ServerOptions.hpp"
#include "TableCache.hpp"
#include "VerificationQueue.hpp"
#include "WebBoard.hpp"

// Every path the server answers and the body each may carry: the game's three
// POST paths, the two run paths (a submitted run replayed on threads of its
// own), the web board, and /healthz for load balancers (200 while the
// database answers, else 503).
class ServerRoutes : public HttpHandler {
  public:
    ServerRoutes(ScoreStore& store, const ServerOptions& options,
                 boost::asio::thread_pool& workers);

    std::size_t bodyLimit(std::string_view path) const override;
    HttpResponse handle(const HttpRequest& request) override;
    std::optional<HttpResponse> answerAtOnce(const HttpRequest& request) override;
    bool handleElsewhere(const HttpRequest& request, const Reply& reply) override;

  private:
    HttpResponse health();

    ScoreStore& store;
    TableCache tables;
    HighscoreService highscores;
    WebBoard board;
    VerificationQueue verification;
    RunService runs;
    std::size_t maxFormBody;
};
