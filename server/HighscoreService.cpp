#include "HighscoreService.hpp"

#include <ctime>

#include "online/HighscoreProtocol.hpp"
#include "online/HighscoreRequest.hpp"
#include "online/PlainDecimal.hpp"

namespace {

std::string utcDay() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &parts);
    return text;
}

HttpResponse storageFailure(ScoreStore& store) {
    HttpResponse response = errorResponse(500, "storage");
    response.note = "storage failure: " + store.lastError();
    return response;
}

std::string levelText(int mode, int levelId) {
    return "mode=" + std::to_string(mode) + " level=" + std::to_string(levelId);
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
    const auto parsed = parseSubmissionRequest(body);
    if (!parsed.request) {
        return errorResponse(400, parsed.refusal);
    }
    const SubmissionRequest& submission = *parsed.request;
    const auto outcome = store.submit(submission, utcDay());
    if (outcome == ScoreStore::SubmitOutcome::Failed) {
        return storageFailure(store);
    }
    return plainAnswer(
        "OK\n",
        "name=\"" + submission.name + "\" " + levelText(submission.mode, submission.levelId) + " " +
            plainDecimal(submission.seconds) + "s " +
            (outcome == ScoreStore::SubmitOutcome::NewBest ? "new best" : "kept older best"));
}

HttpResponse HighscoreService::sendTable(const std::string& body) {
    const auto parsed = parseTableRequest(body);
    if (!parsed.request) {
        return errorResponse(400, parsed.refusal);
    }
    const auto rows = store.table(parsed.request->mode, parsed.request->levelId, kMaxTableRecords);
    if (!rows) {
        return storageFailure(store);
    }
    std::string text;
    for (std::size_t i = 0; i < rows->size(); ++i) {
        const BestTime& row = (*rows)[i];
        text += std::to_string(i + 1) + "\t" + row.day + "\t" + row.name + "\t" +
                plainDecimal(row.seconds) + "\n";
    }
    return plainAnswer(std::move(text), levelText(parsed.request->mode, parsed.request->levelId) +
                                            " " + std::to_string(rows->size()) + " records");
}
