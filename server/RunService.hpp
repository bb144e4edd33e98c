#pragma once

#include <boost/asio/thread_pool.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "HttpHandler.hpp"
#include "ScoreStore.hpp"
#include "TableCache.hpp"
#include "VerificationQueue.hpp"
#include "online/HighscoreRequest.hpp"

// The two run paths. A run submission is replayed with the game's own
// simulation on the level file the server has, on the threads of the
// verification queue: "OK verified" and the time kept as verified when the run
// finishes that level at exactly the claimed time, else 400 with the reason,
// 503 "busy" when the queue is full. A run fetch answers the run text of a
// verified table's record ("" when there is none).
class RunService {
  public:
    // The verdict comes from the queue's threads; a verified time is kept by
    // the `workers`, like every other write.
    RunService(ScoreStore& store, TableCache& tables, VerificationQueue& queue,
               boost::asio::thread_pool& workers)
        : store(store), tables(tables), queue(queue), workers(workers) {}

    static bool verifies(std::string_view path);
    static bool fetches(std::string_view path);
    // Queues the replay; the answer comes through `reply`.
    void verify(const HttpRequest& request, const HttpHandler::Reply& reply);
    HttpResponse fetch(const HttpRequest& request);

  private:
    void replay(const std::string& body, const HttpHandler::Reply& reply);
    HttpResponse keep(const RunSubmissionRequest& run);
    std::optional<std::string> shownRun(const RunFetchRequest& wanted);

    ScoreStore& store;
    TableCache& tables;
    VerificationQueue& queue;
    boost::asio::thread_pool& workers;
};
