#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The server's reading of the request bodies. Every field is checked: exactly
// the expected fields, each once, a valid name, a known mode and level, a
// well-formed score text of a time above 0 and below a million seconds. A
// request that fails any check is refused as a whole, with the reason.
//
// A level is the game's own by its id, or a custom level by the 64 hex digits
// of its file's SHA-256 (docs/protocol.md, "Custom levels"). The requests
// carry the level as the server's tables know it, its key: a shipped level's
// id, or the key the server gave a custom level it keeps.

// The server's custom levels: the key of the level of `mode` whose file has
// this SHA-256; nothing when the server does not keep it. No lookup keeps
// none.
using CustomLevelKeys = std::function<std::optional<int>(int mode, const std::string& sha256)>;

struct NameCheckRequest {
    std::string name;
};

struct SubmissionRequest {
    std::string name;
    int mode = 0;
    int levelId = 0;  // the level's key
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
    int levelId = 0;  // the level's key
    std::size_t position = 0;
};

struct TableRequest {
    int mode = 0;
    int levelId = 0;  // the level's key
};

template <typename Request>
struct Parsed {
    std::optional<Request> request;
    // Why the request was refused, for the answer and the log; empty when it
    // was accepted.
    std::string refusal;
    // The answer's status when refused: 400, or 404 for a custom level the
    // server does not keep (the refusal is then "level not on this server").
    int status = 400;
};

Parsed<NameCheckRequest> parseNameCheckRequest(std::string_view body);
Parsed<SubmissionRequest> parseSubmissionRequest(std::string_view body,
                                                 const CustomLevelKeys& custom = {});
Parsed<TableRequest> parseTableRequest(std::string_view body, const CustomLevelKeys& custom = {});
// The submission's fields as parseSubmissionRequest checks them, and a
// non-empty `run`; bodies up to HighscoreProtocol::kMaxRunBodyBytes. A level
// the server does not keep is refused before the run is unpacked.
Parsed<RunSubmissionRequest> parseRunSubmissionRequest(std::string_view body,
                                                       const CustomLevelKeys& custom = {});
// `mode`, `level` and a `position` of at least 1.
Parsed<RunFetchRequest> parseRunFetchRequest(std::string_view body,
                                             const CustomLevelKeys& custom = {});
