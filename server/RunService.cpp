#include "RunService.hpp"

#include <boost/asio/post.hpp>

#include "UtcDay.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/HighscoreRequest.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/base/PlainDecimal.hpp"
#include "sim/level/LevelList.hpp"
#include "sim/run/RunVerification.hpp"

namespace {

HttpResponse storageFailure(ScoreStore& store) {
    HttpResponse response = errorResponse(500, "storage");
    response.note = "storage failure: " + store.lastError();
    return response;
}

// The level file as this server has it now; "" for a level it does not know.
std::string levelPath(int mode, int levelId) {
    for (const LevelEntry& level : levelsOf(static_cast<GameMode>(mode))) {
        if (level.levelId == levelId) {
            return dataPath(level.file);
        }
    }
    return "";
}

std::string claimText(const SubmissionRequest& submission) {
    return "name=\"" + submission.name + "\" mode=" + std::to_string(submission.mode) +
           " level=" + std::to_string(submission.levelId) + " " + plainDecimal(submission.seconds) +
           "s";
}

}  // namespace

bool RunService::verifies(std::string_view path) {
    return path == HighscoreProtocol::kRunPath;
}

bool RunService::fetches(std::string_view path) {
    return path == HighscoreProtocol::kRunFetchPath;
}

void RunService::verify(const HttpRequest& request, const HttpHandler::Reply& reply) {
    if (request.method != "POST") {
        reply(errorResponse(400, "only POST is served here"));
        return;
    }
    const bool queued = queue.tryPost([this, body = request.body, reply] {
        try {
            replay(body, reply);
        } catch (const std::exception& error) {
            HttpResponse response = errorResponse(500, "internal error");
            response.note += std::string(" (") + error.what() + ")";
            reply(response);
        }
    });
    if (!queued) {
        reply(errorResponse(503, "busy"));
    }
}

void RunService::replay(const std::string& body, const HttpHandler::Reply& reply) {
    auto parsed = parseRunSubmissionRequest(body);
    if (!parsed.request) {
        reply(errorResponse(400, parsed.refusal));
        return;
    }
    const SubmissionRequest& submission = parsed.request->submission;
    const RunClaim claim{static_cast<GameMode>(submission.mode), submission.levelId,
                         submission.seconds};
    const RunVerdict verdict = verifyRunOnLevelFile(parsed.request->runText, claim,
                                                    levelPath(submission.mode, submission.levelId));
    if (!verdict.verified) {
        HttpResponse response = errorResponse(400, verdict.reason);
        response.note = claimText(submission) + " refused: " + verdict.reason;
        reply(response);
        return;
    }
    // The replay threads run at a lower priority; the store's lock must not
    // be held by one of them while the workers wait for it.
    boost::asio::post(workers,
                      [this, run = std::move(*parsed.request), reply] { reply(keep(run)); });
}

HttpResponse RunService::keep(const RunSubmissionRequest& run) {
    const SubmissionRequest& submission = run.submission;
    const auto outcome = store.submitVerified(submission, run.runText, utcDay());
    if (outcome == ScoreStore::SubmitOutcome::Failed) {
        return storageFailure(store);
    }
    if (outcome == ScoreStore::SubmitOutcome::NewBest) {
        tables.changed(submission.mode, submission.levelId);
    }
    HttpResponse response;
    response.body = std::string(HighscoreProtocol::kRunVerified) + "\n";
    response.note = claimText(submission) + " verified" +
                    (outcome == ScoreStore::SubmitOutcome::NewBest ? ", new best" : "");
    return response;
}

// The table a player sees may hold unverified times, so its positions are
// not those of the verified table: the run is found by the record's name.
std::optional<std::string> RunService::shownRun(const RunFetchRequest& wanted) {
    const auto shown = tables.table(wanted.mode, wanted.levelId);
    if (!shown) {
        return std::nullopt;
    }
    if (wanted.position > shown->rows.size() || !shown->rows[wanted.position - 1].verified) {
        return std::string();
    }
    const std::string& name = shown->rows[wanted.position - 1].name;
    const auto verified = store.table(wanted.mode, wanted.levelId, TableCache::kMaxRecords, true);
    if (!verified) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < verified->size(); ++i) {
        if ((*verified)[i].name == name) {
            return store.verifiedRun(wanted.mode, wanted.levelId, i + 1);
        }
    }
    return std::string();
}

HttpResponse RunService::fetch(const HttpRequest& request) {
    if (request.method != "POST") {
        return errorResponse(400, "only POST is served here");
    }
    const auto parsed = parseRunFetchRequest(request.body);
    if (!parsed.request) {
        return errorResponse(400, parsed.refusal);
    }
    const RunFetchRequest& wanted = *parsed.request;
    const auto run = shownRun(wanted);
    if (!run) {
        return storageFailure(store);
    }
    HttpResponse response;
    response.body = *run;
    response.note = "mode=" + std::to_string(wanted.mode) +
                    " level=" + std::to_string(wanted.levelId) + " position " +
                    std::to_string(wanted.position) + (run->empty() ? " no run" : " run sent");
    return response;
}
