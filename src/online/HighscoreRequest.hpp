#pragma once

#include <cstddef>
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

// A submission and the text of the run that proves it (levels/runs/README.md).
struct RunSubmissionRequest {
    SubmissionRequest submission;
    std::string runText;
};

// The run of a verified table's record, by its position from 1.
struct RunFetchRequest {
    int mode = 0;
    int levelId = 0;
    std::size_t position = 0;
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
// The submission's fields as parseSubmissionRequest checks them, and a
// non-empty `run`; bodies up to HighscoreProtocol::kMaxRunBodyBytes.
Parsed<RunSubmissionRequest> parseRunSubmissionRequest(std::string_view body);
// `mode`, `level` and a `position` of at least 1.
Parsed<RunFetchRequest> parseRunFetchRequest(std::string_view body);
