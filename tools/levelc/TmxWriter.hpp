#pragma once

#include <string>

struct LevelSource;

// The level as a TMX file for the game and the tile editor: one tileset from
// gid 1, so a cell's gid is its tile id, and every cell its own
// <tile gid="..."/> line (empty cells too, as gid 0), which keeps the diffs of
// committed levels readable. The tileset lists the tile pictures by id,
// relative to data/levels.
std::string writeTmx(const LevelSource& level);
