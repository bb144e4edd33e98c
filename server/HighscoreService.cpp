#include "HighscoreService.hpp"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

#include "online/HighscoreProtocol.hpp"
#include "online/HighscoreRequest.hpp"
#include "online/PlainDecimal.hpp"

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kTextType = "text/plain";

// What the handler found out about the request, for its log line. Handlers
// and the logger of one request run on the same worker thread.
struct RequestNote {
    bool started = false;
    Clock::time_point start;
    std::string outcome;
};
thread_local RequestNote note;

std::string utcStamp(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, format, &parts);
    return text;
}

bool isHighscorePath(const std::string& path) {
    return path == HighscoreProtocol::kNameCheckPath || path == HighscoreProtocol::kSubmitPath ||
           path == HighscoreProtocol::kTablePath;
}

bool claimsOversizedBody(const httplib::Request& request) {
    if (!request.has_header("Content-Length")) {
        return false;
    }
    const std::string length = request.get_header_value("Content-Length");
    return length.size() > 9 ||
           std::strtoul(length.c_str(), nullptr, 10) > HighscoreProtocol::kMaxBodyBytes;
}

void refuse(httplib::Response& response, int status, const std::string& reason) {
    response.status = status;
    response.set_content(std::string(HighscoreProtocol::kRefusalPrefix) + reason + "\n", kTextType);
    note.outcome = "refused: " + reason;
}

void failStorage(httplib::Response& response, ScoreStore& store) {
    response.status = 500;
    response.set_content(std::string(HighscoreProtocol::kStorageFailure) + "\n", kTextType);
    note.outcome = "storage failure: " + store.lastError();
}

std::string levelText(int mode, int levelId) {
    return "mode=" + std::to_string(mode) + " level=" + std::to_string(levelId);
}

void writeLogLine(const httplib::Request& request, const httplib::Response& response) {
    std::string line = request.remote_addr + " " + request.method + " " + request.path + " " +
                       std::to_string(response.status);
    if (note.started) {
        const auto micros =
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - note.start)
                .count();
        char elapsed[32];
        std::snprintf(elapsed, sizeof elapsed, " %.1fms", static_cast<double>(micros) / 1000.0);
        line += elapsed;
    }
    if (!note.outcome.empty()) {
        line += " " + note.outcome;
    }
    logLine(line);
    note = RequestNote{};
}

}  // namespace

void logLine(const std::string& text) {
    static std::mutex stderrMutex;
    const std::string line = utcStamp("%Y-%m-%dT%H:%M:%SZ ") + text + "\n";
    std::lock_guard lock(stderrMutex);
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

void HighscoreService::attach(httplib::Server& server) {
    server.set_payload_max_length(HighscoreProtocol::kMaxBodyBytes);

    server.set_pre_routing_handler(
        [](const httplib::Request& request, httplib::Response& response) {
            note = RequestNote{};
            note.started = true;
            note.start = Clock::now();
            if (isHighscorePath(request.path) && request.method != "POST") {
                refuse(response, 400, "only POST is served here");
                return httplib::Server::HandlerResponse::Handled;
            }
            // Refused before the body is read: the library would otherwise wait
            // for all of an oversized body (up to its read time-out) to drop it.
            if (claimsOversizedBody(request)) {
                refuse(response, 400, "body too large");
                response.set_header("Connection", "close");
                return httplib::Server::HandlerResponse::Handled;
            }
            return httplib::Server::HandlerResponse::Unhandled;
        });

    server.Post(std::string(HighscoreProtocol::kNameCheckPath),
                [this](const httplib::Request& request, httplib::Response& response) {
                    checkName(request, response);
                });
    server.Post(std::string(HighscoreProtocol::kSubmitPath),
                [this](const httplib::Request& request, httplib::Response& response) {
                    submit(request, response);
                });
    server.Post(std::string(HighscoreProtocol::kTablePath),
                [this](const httplib::Request& request, httplib::Response& response) {
                    sendTable(request, response);
                });

    // Errors the library answers itself (a body over the limit, an unknown
    // path, a request it cannot read) get a body in the same grammar; the
    // library's "413 Payload Too Large" becomes a plain 400 like every other
    // refused request.
    server.set_error_handler(httplib::Server::HandlerWithResponse(
        [](const httplib::Request&, httplib::Response& response) {
            if (!response.body.empty()) {
                return httplib::Server::HandlerResponse::Unhandled;
            }
            if (response.status == 413) {
                refuse(response, 400, "body too large");
            } else if (response.status == 404) {
                refuse(response, 404, "unknown path");
            } else {
                refuse(response, response.status, "bad request");
            }
            return httplib::Server::HandlerResponse::Handled;
        }));

    server.set_logger(writeLogLine);
}

void HighscoreService::checkName(const httplib::Request& request, httplib::Response& response) {
    const auto parsed = parseNameCheckRequest(request.body);
    if (!parsed.request) {
        refuse(response, 400, parsed.refusal);
        return;
    }
    const std::string& name = parsed.request->name;
    const auto taken = store.nameTaken(name);
    if (!taken) {
        failStorage(response, store);
        return;
    }
    response.set_content(*taken ? "TAKEN\n" : "OK\n", kTextType);
    note.outcome = "name=\"" + name + "\" " + (*taken ? "taken" : "free");
}

void HighscoreService::submit(const httplib::Request& request, httplib::Response& response) {
    const auto parsed = parseSubmissionRequest(request.body);
    if (!parsed.request) {
        refuse(response, 400, parsed.refusal);
        return;
    }
    const SubmissionRequest& submission = *parsed.request;
    const auto outcome = store.submit(submission, utcStamp("%Y-%m-%d"));
    if (outcome == ScoreStore::SubmitOutcome::Failed) {
        failStorage(response, store);
        return;
    }
    response.set_content("OK\n", kTextType);
    note.outcome = "name=\"" + submission.name + "\" " +
                   levelText(submission.mode, submission.levelId) + " " +
                   plainDecimal(submission.seconds) + "s " +
                   (outcome == ScoreStore::SubmitOutcome::NewBest ? "new best" : "kept older best");
}

void HighscoreService::sendTable(const httplib::Request& request, httplib::Response& response) {
    const auto parsed = parseTableRequest(request.body);
    if (!parsed.request) {
        refuse(response, 400, parsed.refusal);
        return;
    }
    const auto rows = store.table(parsed.request->mode, parsed.request->levelId, kMaxTableRecords);
    if (!rows) {
        failStorage(response, store);
        return;
    }
    std::string body;
    for (std::size_t i = 0; i < rows->size(); ++i) {
        const BestTime& row = (*rows)[i];
        body += std::to_string(i + 1) + "\t" + row.day + "\t" + row.name + "\t" +
                plainDecimal(row.seconds) + "\n";
    }
    response.set_content(body, kTextType);
    note.outcome = levelText(parsed.request->mode, parsed.request->levelId) + " " +
                   std::to_string(rows->size()) + " records";
}
