#pragma once

#include <string_view>

#include "sim/level/TileMap.hpp"

// Reads a level file. False only when the file cannot be opened; then the ids
// are empty and the size is what it was before. A file with nothing
// recognisable gives true with no ids.
bool readTileMap(TileMap& map, const char* path);

// The same rules on a file's content already in memory (tests, fuzzing).
void parseTileMap(TileMap& map, std::string_view content);
