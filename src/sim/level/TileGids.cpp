#include "sim/level/TileGids.hpp"

#include "sim/level/TileKinds.hpp"

#include <algorithm>

namespace {

constexpr std::uint32_t flagBits = 0xF0000000u;  // flipped x, y, diagonally; rotated 120 degrees

std::string cellName(std::size_t index, int width) {
    const std::size_t x = index % static_cast<std::size_t>(width);
    const std::size_t y = index / static_cast<std::size_t>(width);
    return "the cell at x " + std::to_string(x) + ", y " + std::to_string(y);
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Why `gid` (flags cleared) is no level tile, or empty with `id` set.
std::string tileIdOf(std::uint32_t gid, const std::vector<TilesetStart>& tilesets,
                     std::int32_t& id) {
    if (gid == 0) {
        id = 0;
        return "";
    }
    if (tilesets.empty() || gid < tilesets.front().firstGid) {
        return "holds gid " + std::to_string(gid) + ", which belongs to no tileset";
    }
    const TilesetStart& ours = tilesets.front();
    if (tilesets.size() > 1 && gid >= tilesets[1].firstGid) {
        const auto after = std::upper_bound(
            tilesets.begin(), tilesets.end(), gid,
            [](std::uint32_t value, const TilesetStart& set) { return value < set.firstGid; });
        return "uses tileset " + quoted(std::prev(after)->name) + ": only the first tileset, " +
               quoted(ours.name) + ", holds level tiles";
    }
    const std::int64_t tile = static_cast<std::int64_t>(gid) - ours.firstGid;
    if (!isLevelTileId(tile + 1)) {
        return "holds tile " + std::to_string(tile) + " of tileset " + quoted(ours.name) +
               ", which is no level tile (they are tiles 0 to 18 and 20 to 25)";
    }
    id = static_cast<std::int32_t>(tile + 1);
    return "";
}

}  // namespace

bool isLevelTileId(std::int64_t id) {
    return id == TileId::empty ||
           (id <= TileId::highest && tileMakesSomething(static_cast<int>(id)));
}

std::string tileIdsOf(std::span<const std::uint32_t> gids, std::vector<TilesetStart> tilesets,
                      int width, std::vector<std::int32_t>& tiles) {
    std::sort(tilesets.begin(), tilesets.end(),
              [](const TilesetStart& a, const TilesetStart& b) { return a.firstGid < b.firstGid; });
    tiles.assign(gids.size(), 0);
    for (std::size_t i = 0; i < gids.size(); ++i) {
        const std::string refusal = tileIdOf(gids[i] & ~flagBits, tilesets, tiles[i]);
        if (!refusal.empty()) {
            tiles.clear();
            return cellName(i, width) + " " + refusal;
        }
    }
    return "";
}
