#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// The cells of a level: tile ids as sim/level/TileKinds.hpp names them (0
// empty). Cell (column c, row r), row 0 at the top, is tiles[r * width + c].
struct TileMap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::int32_t> tiles;
};

// The game's level files in either form (sim/level/LevelReader.hpp), for
// callers that need only the cells. A file that does not read leaves the map
// empty (0 x 0), and building it gives a level with nothing but the ball. A
// caller that must tell a level's maker why uses readLevelFile and
// judgeLevel, and shows their problems.

// Reads a level file. False when it cannot be read or is no level we can
// play; the reason then goes to standard error.
bool readTileMap(TileMap& map, const char* path);

// The same on a file's content already in memory (a replayed run's level),
// silently: the caller knows what the bytes are for.
bool parseTileMap(TileMap& map, std::string_view content);
