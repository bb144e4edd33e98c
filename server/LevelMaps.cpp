#include "LevelMaps.hpp"

#include "sim/base/Sha256.hpp"
#include "sim/level/TileMap.hpp"

std::shared_ptr<const LevelMap> LevelMaps::of(const ServerLevel& level) {
    const auto bytes = levels.fileBytes(level);
    return bytes ? ofFile(*bytes) : nullptr;
}

std::shared_ptr<const LevelMap> LevelMaps::ofFile(std::string_view bytes) {
    const std::string key = sha256Hex(bytes);
    {
        std::lock_guard lock(mutex);
        if (const auto found = maps.find(key); found != maps.end()) {
            return found->second;
        }
    }
    // Drawn outside the lock: two pages of a new level may both draw it.
    // Read as a replay reads it, in either form of a level file.
    TileMap cells;
    if (!parseTileMap(cells, bytes)) {
        return nullptr;
    }
    auto map = std::make_shared<const LevelMap>(drawLevelMap(cells));
    std::lock_guard lock(mutex);
    if (maps.size() >= kMostMaps) {
        maps.clear();
    }
    maps.emplace(key, map);
    return map;
}
