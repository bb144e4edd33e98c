#pragma once

#include <optional>
#include <string>
#include <string_view>

// How highscore tables, personal bests and personal runs name a level. A
// shipped level (sim/level/LevelList.hpp) keeps its permanent id; any other
// level is named by the SHA-256 of its file's bytes, exactly as they lie in
// the folder (for an ASCII source the source itself, not the TMX levelc would
// make of it), so a level edited by one byte is a new level with tables,
// bests and runs of its own.
struct LevelIdentity {
    LevelIdentity() = default;
    // A plain number is a shipped level's id, as levels were named before
    // there were others.
    LevelIdentity(int shippedId) : id(shippedId) {}  // NOLINT(google-explicit-constructor)

    int id = 0;          // a shipped level's permanent id; 0 for any other
    std::string sha256;  // any other level's: 64 lowercase hex digits

    static LevelIdentity shipped(int id);
    static LevelIdentity ofFile(std::string sha256);
    // The identity text() writes: a plain decimal id above 0 (digits only, no
    // leading zero, at most nine), or 64 lowercase hex digits. Nothing for any
    // other text, so a level named in a request or a web address is one of
    // these two or refused.
    static std::optional<LevelIdentity> fromText(std::string_view text);

    bool isShipped() const { return id > 0; }
    // Its name in settings keys, run file names and requests: the id in plain
    // decimal, or the 64 hex digits.
    std::string text() const;

    bool operator==(const LevelIdentity&) const = default;
};
