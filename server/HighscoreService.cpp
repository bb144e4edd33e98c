#include "HighscoreService.hpp"

#include "UtcDay.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/HighscoreRequest.hpp"
#include "sim/base/PlainDecimal.hpp"

namespace {

HttpResponse storageFailure(ScoreStore& store) {
    HttpResponse response = errorResponse(500, "storage");
    response.note = "storage failure: " + store.lastError();
    return response;
}

HttpResponse tableAnswer(const TableRequest& request, const CachedTable& table,
                         const ServerLevels& levels) {
    HttpResponse response;
    response.body = table.gameAnswer;
    response.note = levels.logText(request.mode, request.levelId) + " " +
                    std::to_string(table.rows.size()) + " records";
    return response;
}

HttpResponse plainAnswer(std::string body, std::string note) {
    HttpResponse response;
    response.body = std::move(body);
    response.note = std::move(note);
    return response;
}

}  // namespace

bool HighscoreService::serves(std::string_view path) {
    using namespace HighscoreProtocol;
    return path == kNameCheckPath || path == kSubmitPath || path == kTablePath;
}

HttpResponse HighscoreService::handle(const HttpRequest& request) {
    if (request.method != "POST") {
        return errorResponse(400, "only POST is served here");
    }
    if (request.path == HighscoreProtocol::kNameCheckPath) {
        return checkName(request.body);
    }
    if (request.path == HighscoreProtocol::kSubmitPath) {
        return submit(request.body);
    }
    return sendTable(request.body);
}

HttpResponse HighscoreService::checkName(const std::string& body) {
    const auto parsed = parseNameCheckRequest(body);
    if (!parsed.request) {
        return errorResponse(400, parsed.refusal);
    }
    const std::string& name = parsed.request->name;
    const auto taken = store.nameTaken(name);
    if (!taken) {
        return storageFailure(store);
    }
    return plainAnswer(*taken ? "TAKEN\n" : "OK\n",
                       "name=\"" + name + "\" " + (*taken ? "taken" : "free"));
}

HttpResponse HighscoreService::submit(const std::string& body) {
    const auto parsed = parseSubmissionRequest(body, levels.customKeys());
    if (!parsed.request) {
        return errorResponse(parsed.status, parsed.refusal);
    }
    const SubmissionRequest& submission = *parsed.request;
    const auto outcome = store.submit(submission, utcDay());
    if (outcome == ScoreStore::SubmitOutcome::Failed) {
        return storageFailure(store);
    }
    if (outcome == ScoreStore::SubmitOutcome::NewBest) {
        tables.changed(submission.mode, submission.levelId);
    }
    return plainAnswer(
        "OK\n",
        "name=\"" + submission.name + "\" " + levels.logText(submission.mode, submission.levelId) +
            " " + plainDecimal(submission.seconds) + "s " +
            (outcome == ScoreStore::SubmitOutcome::NewBest ? "new best" : "kept older best"));
}

std::optional<HttpResponse> HighscoreService::answerAtOnce(const HttpRequest& request) {
    if (request.method != "POST" || request.path != HighscoreProtocol::kTablePath) {
        return std::nullopt;
    }
    const auto parsed = parseTableRequest(request.body, levels.customKeys());
    if (!parsed.request) {
        return std::nullopt;
    }
    const auto table = tables.tableInMemory(parsed.request->mode, parsed.request->levelId);
    if (!table) {
        return std::nullopt;
    }
    return tableAnswer(*parsed.request, *table, levels);
}

HttpResponse HighscoreService::sendTable(const std::string& body) {
    const auto parsed = parseTableRequest(body, levels.customKeys());
    if (!parsed.request) {
        return errorResponse(parsed.status, parsed.refusal);
    }
    const auto table = tables.table(parsed.request->mode, parsed.request->levelId);
    if (!table) {
        return storageFailure(store);
    }
    return tableAnswer(*parsed.request, *table, levels);
}
