#include <cstdio>
#include <filesystem>

#include "sim/base/DataFolder.hpp"
#include "sim/level/LevelReader.hpp"
#include "sim/level/TileMap.hpp"

namespace {

bool take(TileMap& map, LevelRead read) {
    if (!read.level) {
        map = TileMap{};
        return false;
    }
    map = std::move(read.level->map);
    return true;
}

void reportProblem(const char* path, const LevelRead& read) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        // Said with the data folder it was looked for in.
        reportUnreadableFile(path);
        return;
    }
    const std::string reason = read.problems.empty() ? "" : read.problems.front().text();
    std::fprintf(stderr, "%s: no level we can play: %s\n", path, reason.c_str());
}

}  // namespace

bool parseTileMap(TileMap& map, std::string_view content) {
    return take(map, readLevel(content));
}

bool readTileMap(TileMap& map, const char* path) {
    if (path == nullptr) {
        return take(map, LevelRead{});
    }
    std::string bytes;
    LevelRead read = readLevelFile(path, bytes);
    if (!read.level) {
        reportProblem(path, read);
    }
    return take(map, std::move(read));
}
