#pragma once

#include <filesystem>
#include <string>

#include "sim/run/RecordedRun.hpp"

// A run to watch, as the replay list hands it to the replay screen: whose it
// is in words, its text, and where its level is.
struct ReplaySource {
    std::string whose;    // "Your best", "Record by Alice", a file's name
    std::string runText;  // as read; the replay screen parses and checks it
    // Why there is no text to show (a file that cannot be read); the replay
    // screen then shows this instead.
    std::string problem;
    // The level file to replay on; empty: the game's own level of the run's
    // mode and level id.
    std::string levelFile;
};

// A run file's text, refused with a reason when it cannot be read or is
// larger than any run the game writes or the server takes
// (HighscoreProtocol::kMaxRunTextBytes), so a stray huge file is not read
// into memory.
ReplaySource replayOfFile(const std::filesystem::path& path, std::string whose);

// The file of the game's level that the run names by mode and level id, in
// the data folder; empty when the game has no such level.
std::string levelFileOfRun(const RecordedRun& run);
