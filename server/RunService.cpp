#include "RunService.hpp"

#include <boost/asio/post.hpp>

#include "ServerLog.hpp"
#include "ShownRecord.hpp"
#include "UtcDay.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/HighscoreRequest.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/base/PlainDecimal.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/level/LevelList.hpp"
#include "sim/run/RunVerification.hpp"

namespace {

// Threads that read, check and queue submitted runs.
constexpr std::size_t kIntakeThreads = 2;

HttpResponse storageFailure(ScoreStore& store) {
    HttpResponse response = errorResponse(500, "storage");
    response.note = "storage failure: " + store.lastError();
    return response;
}

HttpResponse okAnswer(std::string_view body, std::string note) {
    HttpResponse response;
    response.body = std::string(body) + "\n";
    response.note = std::move(note);
    return response;
}

// The answer to a queueing that leaves nothing to wait for.
std::optional<HttpResponse> settledAnswer(QueueOutcome outcome, ScoreStore& store) {
    switch (outcome) {
        case QueueOutcome::Queued:
        case QueueOutcome::AlreadyQueued:
            return std::nullopt;
        case QueueOutcome::AlreadyVerified:
            return okAnswer(HighscoreProtocol::kRunVerified, "verified before");
        case QueueOutcome::RunOfAnotherName:
            return errorResponse(400, "run already on the board");
        case QueueOutcome::ClientFull:
            return errorResponse(429, "too many runs from this address wait for their verdict");
        case QueueOutcome::NameFull:
            return errorResponse(429, "too many runs of this name wait for their verdict");
        case QueueOutcome::QueueFull:
            return errorResponse(503, "busy");
        case QueueOutcome::Failed:
            break;
    }
    return storageFailure(store);
}

}  // namespace

RunService::RunService(ScoreStore& store, TableCache& tables, const ServerLevels& levels,
                       const Settings& settings)
    : store(store),
      tables(tables),
      levels(levels),
      settings(settings),
      intakeThreads(kIntakeThreads),
      waiters(intakeThreads.get_executor()),
      verifier(store, tables, levels, waiters, settings.verifier) {}

std::string RunService::claimText(const SubmissionRequest& submission) const {
    return "name=\"" + submission.name + "\" " +
           levels.logText(submission.mode, submission.levelId) + " " +
           plainDecimal(submission.seconds) + "s";
}

RunService::~RunService() {
    waiters.answerEveryone();
    intakeThreads.join();
}

bool RunService::verifies(std::string_view path) {
    return path == HighscoreProtocol::kRunPath;
}

bool RunService::fetches(std::string_view path) {
    return path == HighscoreProtocol::kRunFetchPath;
}

void RunService::submit(const HttpRequest& request, const HttpHandler::Reply& reply) {
    if (request.method != "POST") {
        reply(errorResponse(400, "only POST is served here"));
        return;
    }
    boost::asio::post(intakeThreads, [this, request, reply] {
        try {
            intake(request, reply);
        } catch (const std::exception& error) {
            HttpResponse response = errorResponse(500, "internal error");
            response.note += std::string(" (") + error.what() + ")";
            reply(response);
        }
    });
}

void RunService::intake(const HttpRequest& request, const HttpHandler::Reply& reply) {
    auto parsed = parseRunSubmissionRequest(request.body, levels.customKeys());
    if (!parsed.request) {
        reply(errorResponse(parsed.status, boundedRefusal(parsed.refusal)));
        return;
    }
    const SubmissionRequest& submission = parsed.request->submission;
    const ServerLevel* level = levels.byKey(submission.mode, submission.levelId);
    const auto levelBytes = level ? levels.fileBytes(*level) : std::nullopt;
    if (!levelBytes) {
        reply(errorResponse(500, "level file cannot be read"));
        return;
    }
    // Read and checked here; the replay waits for its turn.
    const RunCheck check(parsed.request->runText, level->claim(submission.seconds), *levelBytes);
    if (check.decided()) {
        const std::string reason = boundedRefusal(check.verdict().reason);
        HttpResponse response = errorResponse(400, reason);
        response.note = claimText(submission) + " refused: " + reason;
        reply(response);
        return;
    }
    PendingRun run;
    run.client = request.clientKey;
    run.claim = submission;
    run.day = utcDay();
    run.run = check.verdict().canonicalRun;
    run.sha256 = sha256Hex(run.run);
    const QueueAnswer queued = store.queueRun(run, settings.caps);
    if (auto answer = settledAnswer(queued.outcome, store)) {
        answer->note = claimText(submission) + " " + answer->note;
        reply(*answer);
        return;
    }
    verifier.wake();
    const std::string note = claimText(submission) + " run " + std::to_string(queued.id);
    waiters.wait(queued.id, settings.patience, okAnswer(HighscoreProtocol::kRunQueued, "queued"),
                 [reply, note](HttpResponse response) {
                     response.note = note + " " + response.note;
                     reply(response);
                 });
}

void RunService::stop() {
    verifier.stop();
    waiters.answerEveryone();
}

HttpResponse RunService::fetch(const HttpRequest& request) {
    if (request.method != "POST") {
        return errorResponse(400, "only POST is served here");
    }
    const auto parsed = parseRunFetchRequest(request.body, levels.customKeys());
    if (!parsed.request) {
        return errorResponse(parsed.status, parsed.refusal);
    }
    const RunFetchRequest& wanted = *parsed.request;
    const auto record = shownRecord(tables, store, wanted.mode, wanted.levelId, wanted.position);
    if (!record) {
        return storageFailure(store);
    }
    HttpResponse response;
    response.body = record->verified.run;
    response.note = levels.logText(wanted.mode, wanted.levelId) + " position " +
                    std::to_string(wanted.position) +
                    (response.body.empty() ? " no run" : " run sent");
    return response;
}
