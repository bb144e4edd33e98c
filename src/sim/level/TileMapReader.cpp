#include <cstdio>
#include <filesystem>

#include "sim/base/DataFolder.hpp"
#include "sim/level/TileMap.hpp"
#include "sim/level/TmxReader.hpp"

namespace {

bool take(TileMap& map, TmxRead read) {
    if (!read.level) {
        map = TileMap{};
        return false;
    }
    map = std::move(read.level->map);
    return true;
}

void reportRefusal(const char* path, const TmxRefusal& refusal) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        // Said with the data folder it was looked for in.
        reportUnreadableFile(path);
        return;
    }
    std::fprintf(stderr, "%s: no level we can play: %s\n", path, refusal.text().c_str());
}

}  // namespace

bool parseTileMap(TileMap& map, std::string_view content) {
    return take(map, readTmx(content));
}

bool readTileMap(TileMap& map, const char* path) {
    if (path == nullptr) {
        return take(map, TmxRead{});
    }
    TmxRead read = readTmxFile(path);
    if (!read.level) {
        reportRefusal(path, read.refusal);
    }
    return take(map, std::move(read));
}
