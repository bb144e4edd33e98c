#pragma once

#include <boost/asio/thread_pool.hpp>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "HttpHandler.hpp"
#include "PendingRun.hpp"
#include "RunVerifier.hpp"
#include "ScoreStore.hpp"
#include "ServerLevels.hpp"
#include "TableCache.hpp"
#include "VerdictWaiters.hpp"
#include "online/HighscoreRequest.hpp"

// The two run paths. A run submission is read and checked against its claim
// and the level file at once (a run that fails is refused with 400 and
// changes nothing), then stored in the queue of runs waiting for their
// verdict, durably, before it is answered: a server killed meanwhile verifies
// it after its restart. The answer waits a moment for the verdict ("OK
// verified" or 400 with the reason); a run still waiting then is answered
// "OK queued". The caps of the queue answer 429 (per client address, per
// name) and 503 (in all); a run on the board under another name is refused.
// A run fetch answers the run text of a verified table's record ("" when
// there is none). A custom level the server does not keep is answered 404
// "ERROR level not on this server" on both paths.
class RunService {
  public:
    struct Settings {
        QueueCaps caps;
        // How long a submission waits for its verdict.
        std::chrono::milliseconds patience{2000};
        RunVerifier::Settings verifier;
    };

    RunService(ScoreStore& store, TableCache& tables, const ServerLevels& levels,
               const Settings& settings);
    // Waits for the submissions under way.
    ~RunService();

    static bool verifies(std::string_view path);
    static bool fetches(std::string_view path);
    // Checks and queues the run on a thread of its own, so that a flood of
    // runs keeps no worker from the game's requests; the answer comes through
    // `reply`.
    void submit(const HttpRequest& request, const HttpHandler::Reply& reply);
    HttpResponse fetch(const HttpRequest& request);
    // The server stops: waiting submissions are answered "OK queued" and the
    // replays stop; the runs stay in the queue.
    void stop();

  private:
    void intake(const HttpRequest& request, const HttpHandler::Reply& reply);
    std::string claimText(const SubmissionRequest& submission) const;

    ScoreStore& store;
    TableCache& tables;
    const ServerLevels& levels;
    const Settings settings;
    boost::asio::thread_pool intakeThreads;
    VerdictWaiters waiters;
    RunVerifier verifier;
};
