#pragma once

#include <optional>
#include <string>
#include <string_view>

// The server's reading of the three request bodies. Every field is checked:
// exactly the expected fields, each once, a valid name, a known mode and level,
// a well-formed score text of a time above 0 and below a million seconds. A
// request that fails any check is refused as a whole, with the reason.

struct NameCheckRequest {
    std::string name;
};

struct SubmissionRequest {
    std::string name;
    int mode = 0;
    int levelId = 0;
    float seconds = 0;
};

struct TableRequest {
    int mode = 0;
    int levelId = 0;
};

template <typename Request>
struct Parsed {
    std::optional<Request> request;
    // Why the request was refused, for the answer and the log; empty when it
    // was accepted.
    std::string refusal;
};

Parsed<NameCheckRequest> parseNameCheckRequest(std::string_view body);
Parsed<SubmissionRequest> parseSubmissionRequest(std::string_view body);
Parsed<TableRequest> parseTableRequest(std::string_view body);
