// Fuzzes the ASCII level source reader of levelc: any text is either refused
// with a reason or read to a map within the bounds with one ball start; and
// what levelc then writes, the game's TMX reader reads back to the same
// cells and title.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "levelc/LevelSource.hpp"
#include "levelc/TmxWriter.hpp"
#include "sim/level/TmxReader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LevelSource level;
    std::string error;
    if (!parseLevelSource(std::string(reinterpret_cast<const char*>(data), size), level, error)) {
        if (error.empty()) {
            std::abort();
        }
        return 0;
    }
    const auto within = [](int cells) { return cells >= 1 && cells <= TmxLimits::maxCells; };
    if (!within(level.width) || !within(level.height) ||
        level.tiles.size() != static_cast<std::size_t>(level.width) * level.height) {
        std::abort();
    }
    const TmxRead read = readTmx(writeTmx(level));
    if (!read.level || read.level->title != level.title || read.level->map.width != level.width ||
        read.level->map.height != level.height ||
        !std::equal(level.tiles.begin(), level.tiles.end(), read.level->map.tiles.begin(),
                    read.level->map.tiles.end())) {
        std::abort();
    }
    return 0;
}
