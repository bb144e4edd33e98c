#include "online/HighscoreRequest.hpp"

#include <charconv>
#include <initializer_list>
#include <map>

#include "online/FormBody.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/RunTransport.hpp"
#include "sim/level/LevelIdentity.hpp"
#include "sim/run/ScoreText.hpp"

namespace {

using Fields = std::map<std::string, std::string>;

// Plain decimal as the game writes it: digits only, no sign, no leading zero.
std::optional<int> readPlainInteger(const std::string& text) {
    if (text.empty() || text.size() > 9 || (text.size() > 1 && text[0] == '0')) {
        return std::nullopt;
    }
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

// The fields of a body of at most `maxBytes`; otherwise the refusal.
std::optional<Fields> parseFields(std::string_view body, std::string& refusal,
                                  std::size_t maxBytes = HighscoreProtocol::kMaxBodyBytes) {
    if (body.size() > maxBytes) {
        refusal = "body too large";
        return std::nullopt;
    }
    auto fields = parseFormBody(body);
    if (!fields) {
        refusal = "malformed body (a piece without '=', a bad escape or a repeated field)";
    }
    return fields;
}

// The fields when they are exactly `names`; otherwise the refusal.
std::optional<Fields> expectFields(std::optional<Fields> fields,
                                   std::initializer_list<const char*> names, std::string& refusal) {
    if (!fields) {
        return std::nullopt;
    }
    for (const char* name : names) {
        if (fields->count(name) == 0) {
            refusal = std::string("missing field '") + name + "'";
            return std::nullopt;
        }
    }
    if (fields->size() != names.size()) {
        refusal = "unknown field";
        return std::nullopt;
    }
    return fields;
}

std::optional<Fields> readFields(std::string_view body, std::initializer_list<const char*> names,
                                 std::string& refusal) {
    return expectFields(parseFields(body, refusal), names, refusal);
}

bool readName(const Fields& fields, std::string& name, std::string& refusal) {
    name = fields.at("name");
    if (!HighscoreProtocol::isValidPlayerName(name)) {
        refusal = "name must be 1 to 15 letters, digits, '.', ',' or spaces";
        return false;
    }
    return true;
}

// Where a request's level is refused: the reason and the answer's status.
struct Refusal {
    std::string& reason;
    int& status;
};

template <typename Request>
Refusal refusalOf(Parsed<Request>& parsed) {
    return {parsed.refusal, parsed.status};
}

// The key of a level the server keeps, a shipped one by its id (plain
// decimal) or a custom one by its hash.
bool readLevel(const Fields& fields, const CustomLevelKeys& custom, int& mode, int& levelKey,
               Refusal refusal) {
    const auto modeValue = readPlainInteger(fields.at("mode"));
    const auto level = LevelIdentity::fromText(fields.at("level"));
    if (!modeValue || !level) {
        refusal.reason =
            "mode must be a plain decimal number, level a level id or the 64 lowercase hex "
            "digits of a level file's SHA-256";
        return false;
    }
    mode = *modeValue;
    if (level->isShipped()) {
        levelKey = level->id;
        if (!HighscoreProtocol::isKnownLevel(mode, levelKey)) {
            refusal.reason = "unknown mode or level";
            return false;
        }
        return true;
    }
    const auto key = custom ? custom(mode, level->sha256) : std::nullopt;
    if (!key) {
        refusal.reason = HighscoreProtocol::kLevelNotOnServerReason;
        refusal.status = HighscoreProtocol::kNotOnServerStatus;
        return false;
    }
    levelKey = *key;
    return true;
}

bool readSubmission(const Fields& fields, const CustomLevelKeys& custom, SubmissionRequest& request,
                    Refusal refusal) {
    if (!readName(fields, request.name, refusal.reason) ||
        !readLevel(fields, custom, request.mode, request.levelId, refusal)) {
        return false;
    }
    const auto seconds = parseScoreText(fields.at("score"));
    if (!seconds || !(*seconds > 0) || !(*seconds < HighscoreProtocol::kMaxSeconds)) {
        refusal.reason = "score is not the score text of a time above 0 and below 1000000 s";
        return false;
    }
    request.seconds = *seconds;
    return true;
}

}  // namespace

Parsed<NameCheckRequest> parseNameCheckRequest(std::string_view body) {
    Parsed<NameCheckRequest> parsed;
    const auto fields = readFields(body, {"name"}, parsed.refusal);
    NameCheckRequest request;
    if (fields && readName(*fields, request.name, parsed.refusal)) {
        parsed.request = std::move(request);
    }
    return parsed;
}

Parsed<SubmissionRequest> parseSubmissionRequest(std::string_view body,
                                                 const CustomLevelKeys& custom) {
    Parsed<SubmissionRequest> parsed;
    const auto fields = readFields(body, {"name", "mode", "level", "score"}, parsed.refusal);
    SubmissionRequest request;
    if (fields && readSubmission(*fields, custom, request, refusalOf(parsed))) {
        parsed.request = std::move(request);
    }
    return parsed;
}

Parsed<RunSubmissionRequest> parseRunSubmissionRequest(std::string_view body,
                                                       const CustomLevelKeys& custom) {
    Parsed<RunSubmissionRequest> parsed;
    // The run packed ("runz"), or as text from games before the packing ("run").
    auto all = parseFields(body, parsed.refusal, HighscoreProtocol::kMaxRunBodyBytes);
    const bool packed = all && all->count("runz") == 1;
    const auto fields =
        expectFields(std::move(all), {"name", "mode", "level", "score", packed ? "runz" : "run"},
                     parsed.refusal);
    RunSubmissionRequest request;
    if (!fields || !readSubmission(*fields, custom, request.submission, refusalOf(parsed))) {
        return parsed;
    }
    if (packed) {
        auto text = unpackRun(fields->at("runz"), HighscoreProtocol::kMaxRunTextBytes);
        if (!text) {
            parsed.refusal = "runz is not a run packed with zlib in base64url within " +
                             std::to_string(HighscoreProtocol::kMaxRunTextBytes) + " bytes";
            return parsed;
        }
        request.runText = std::move(*text);
    } else {
        request.runText = fields->at("run");
    }
    if (request.runText.empty()) {
        parsed.refusal = "empty run";
        return parsed;
    }
    parsed.request = std::move(request);
    return parsed;
}

Parsed<RunFetchRequest> parseRunFetchRequest(std::string_view body, const CustomLevelKeys& custom) {
    Parsed<RunFetchRequest> parsed;
    const auto fields = readFields(body, {"mode", "level", "position"}, parsed.refusal);
    RunFetchRequest request;
    if (!fields || !readLevel(*fields, custom, request.mode, request.levelId, refusalOf(parsed))) {
        return parsed;
    }
    const auto position = readPlainInteger(fields->at("position"));
    if (!position || *position < 1) {
        parsed.refusal = "position must be a plain decimal number from 1";
        return parsed;
    }
    request.position = static_cast<std::size_t>(*position);
    parsed.request = request;
    return parsed;
}

Parsed<TableRequest> parseTableRequest(std::string_view body, const CustomLevelKeys& custom) {
    Parsed<TableRequest> parsed;
    const auto fields = readFields(body, {"mode", "level"}, parsed.refusal);
    TableRequest request;
    if (fields && readLevel(*fields, custom, request.mode, request.levelId, refusalOf(parsed))) {
        parsed.request = request;
    }
    return parsed;
}
