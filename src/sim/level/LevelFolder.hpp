#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "sim/base/GameMode.hpp"
#include "sim/level/LevelProblem.hpp"

// A level file found in a folder of levels, read and judged: what the level
// selection lists, the autopilot flies and levelc --check reports on.
struct FoundLevel {
    std::filesystem::path file;
    std::string name;                    // its title, else the file's name without the extension
    std::string pack;                    // the name of its pack; empty for a level on its own
    std::optional<GameMode> mode;        // nothing when the file does not say
    std::string sha256;                  // of the file's bytes; empty when unreadable
    std::vector<LevelProblem> problems;  // why it cannot be played

    bool playable() const { return problems.empty(); }
};

namespace LevelFolderLimits {
// Levels listed from one folder, packs included: reading them all must not
// keep the level selection from opening.
constexpr std::size_t maxLevels = 1000;
// The file naming a pack and the order of its levels.
constexpr const char* packFile = "pack.txt";
}  // namespace LevelFolderLimits

// Reads and judges one level file, the hash of its bytes included.
FoundLevel examineLevelFile(const std::filesystem::path& file, const std::string& pack = {});

// A folder of levels. A folder with a pack.txt is one pack: its levels in the
// order pack.txt names them. Any other folder lists its .tmx and .txt files
// by file name, then each sub-folder holding a pack.txt, by folder name;
// other sub-folders and hidden files are left alone. A missing folder has no
// levels. A pack that cannot be read, names no level, or names a file outside
// its folder is listed as a broken level saying so.
std::vector<FoundLevel> findLevels(const std::filesystem::path& folder);

// Only the packs among a folder's sub-folders: the data folder's levels/,
// whose loose files are the shipped levels.
std::vector<FoundLevel> findPacks(const std::filesystem::path& folder);
