#pragma once

#include <string>

struct LevelSource;

// The level as a TMX file that both the game's line scanner and the tile
// editor read: the layer element starts with its name "Layer 1" followed by
// width and height, and every cell is its own <tile gid="..."/> line (empty
// cells too, as gid 0, so no cell is ever skipped). The tileset lists the
// tile pictures by id, relative to data/levels.
std::string writeTmx(const LevelSource& level);
