#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// The cells of a level file as written: no meaning is given to the ids here.
// Cell (column c, row r), row 0 at the top, is tiles[r * width + c]; ids of a
// second or later layer follow the first layer's and are not cells.
struct TileMap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::int32_t> tiles;
};

// Reads a level file. False only when the file cannot be opened; then the ids
// are empty and the size is what it was before. A file with nothing
// recognisable gives true with no ids.
bool readTileMap(TileMap& map, const char* path);

// The same rules on a file's content already in memory (tests, fuzzing).
void parseTileMap(TileMap& map, std::string_view content);
