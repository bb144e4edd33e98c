// Feeds arbitrary request bodies to the server's request rules: nothing may
// crash, an accepted request must hold only valid values, and what the game
// would send for those values must be read back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "online/FormBody.hpp"
#include "online/HighscoreProtocol.hpp"
#include "online/HighscoreRequest.hpp"
#include "sim/run/ScoreText.hpp"

using namespace HighscoreProtocol;

namespace {

void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void checkFormRoundTrip(std::string_view body) {
    const auto fields = parseFormBody(body);
    if (!fields) {
        return;
    }
    std::string again;
    for (const auto& [key, value] : *fields) {
        again += "&" + escapeFormValue(key) + "=" + escapeFormValue(value);
    }
    const auto back = parseFormBody(again);
    require(back && *back == *fields);
}

void checkSubmission(std::string_view body) {
    const auto parsed = parseSubmissionRequest(body);
    require(parsed.request.has_value() == parsed.refusal.empty());
    if (!parsed.request) {
        return;
    }
    const SubmissionRequest& request = *parsed.request;
    require(isValidPlayerName(request.name));
    require(isKnownLevel(request.mode, request.levelId));
    require(request.seconds > 0 && request.seconds < kMaxSeconds);

    const auto resent = parseSubmissionRequest(
        submissionBody(request.name, request.mode, request.levelId, encodeTime(12.5f)));
    require(resent.request && resent.request->name == request.name &&
            resent.request->mode == request.mode && resent.request->levelId == request.levelId);
}

void checkNameAndTable(std::string_view body) {
    const auto check = parseNameCheckRequest(body);
    require(check.request.has_value() == check.refusal.empty());
    if (check.request) {
        require(isValidPlayerName(check.request->name));
        const auto resent = parseNameCheckRequest(nameCheckBody(check.request->name));
        require(resent.request && resent.request->name == check.request->name);
    }
    const auto table = parseTableRequest(body);
    require(table.request.has_value() == table.refusal.empty());
    if (table.request) {
        require(isKnownLevel(table.request->mode, table.request->levelId));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    checkFormRoundTrip(body);
    checkSubmission(body);
    checkNameAndTable(body);

    // Random bytes seldom make a whole valid request; these reach the field
    // rules with the input as one field's value.
    const std::string input(body);
    checkSubmission("name=" + input + "&mode=1&level=250&score=" + encodeTime(12.5f));
    checkSubmission("name=racer&mode=2&level=20057&score=" + input);
    checkNameAndTable("name=" + input);
    return 0;
}
