#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "sim/base/GameMode.hpp"

// One run the Replays list offers.
struct ReplayEntry {
    enum class Kind {
        file,          // a .run file: given on the command line or in the runs folder
        personalBest,  // the run kept with a level's personal best
        record,        // the level's record, asked of the server when chosen
    };

    Kind kind = Kind::file;
    std::string label;  // the list's line (UTF-8)
    std::string whose;  // what the replay screen says the run is
    std::filesystem::path file;
    GameMode mode = raceMode;
    int levelId = 0;
};

// The runs the game can show, in the list's order: the command line's file
// (when given), then for each mode and level its personal best (when its
// run is kept) and, with online scores on, its record; then every other .run
// file of the runs folder by name, at most maxOtherFiles of them.
std::vector<ReplayEntry> findReplays(const std::filesystem::path& runsFolder,
                                     const std::string& commandLineFile, bool online);

inline constexpr std::size_t maxOtherFiles = 500;
