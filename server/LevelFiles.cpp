#include "LevelFiles.hpp"

#include "sim/base/DataFolder.hpp"
#include "sim/base/FileBytes.hpp"
#include "sim/level/LevelList.hpp"

std::optional<std::string> levelFileBytes(int mode, int levelId) {
    for (const LevelEntry& level : levelsOf(static_cast<GameMode>(mode))) {
        if (level.levelId != levelId) {
            continue;
        }
        const auto bytes = readWholeFile(dataPath(level.file));
        if (!bytes) {
            return std::nullopt;
        }
        return std::string(bytes->data(), bytes->size());
    }
    return std::nullopt;
}
