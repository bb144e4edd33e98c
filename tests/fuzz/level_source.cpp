// Fuzzes the ASCII level source reader: any text is either refused with its
// reasons, each with a line, or read to a map within the bounds; what levelc
// then writes, the game's TMX reader reads back to the same cells, title and
// mode; and the map checks judge it without failing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "levelc/TmxWriter.hpp"
#include "sim/level/LevelReader.hpp"
#include "sim/level/LevelSource.hpp"
#include "sim/level/TmxReader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LevelSource level;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<LevelProblem> problems = readLevelSource(text, level);
    if (!problems.empty()) {
        const bool placed = std::all_of(problems.begin(), problems.end(), [](const auto& p) {
            return !p.reason.empty() && p.line >= 0 && p.column >= 0;
        });
        if (!placed || problems.size() > LevelSourceLimits::maxProblems + 1) {
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
    if (!read.level || read.level->title != level.title || read.level->mode != level.mode ||
        read.level->map.width != level.width || read.level->map.height != level.height ||
        !std::equal(level.tiles.begin(), level.tiles.end(), read.level->map.tiles.begin(),
                    read.level->map.tiles.end())) {
        std::abort();
    }
    judgeLevel(readLevel(text));
    return 0;
}
