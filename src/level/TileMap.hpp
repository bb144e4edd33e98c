#pragma once

#include <string_view>

#include "sim/level/TileMap.hpp"

// The game's level files through the TMX reader (sim/level/TmxReader.hpp),
// for callers that need only the cells. A file that does not read leaves the
// map empty (0 x 0), and building it gives a level with nothing but the ball.
// A caller that must tell a level's maker why uses readTmxFile and shows
// TmxRefusal::text().

// Reads a level file. False when it cannot be read or is no level we can
// play; the reason then goes to standard error.
bool readTileMap(TileMap& map, const char* path);

// The same on a file's content already in memory (a replayed run's level),
// silently: the caller knows what the bytes are for.
bool parseTileMap(TileMap& map, std::string_view content);
