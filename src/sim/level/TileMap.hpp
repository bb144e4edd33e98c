#pragma once

#include <cstdint>
#include <vector>

// The cells of a level: tile ids as level/TileKinds.hpp names them (0 empty).
// Cell (column c, row r), row 0 at the top, is tiles[r * width + c].
struct TileMap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::int32_t> tiles;
};
