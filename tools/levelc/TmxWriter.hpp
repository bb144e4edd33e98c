#pragma once

#include <string>

struct LevelSource;

// The level as a TMX file for the game and the tile editor: one tileset from
// gid 1, so a cell's gid is its tile id, and every cell its own
// <tile gid="..."/> line (empty cells too, as gid 0), which keeps the diffs of
// committed levels readable. The tileset lists the tile pictures by id in
// `imageFolder` (ending in '/'), as seen from the TMX file, so the editor
// shows them; the map property "mode" is written when the source has one.
std::string writeTmx(const LevelSource& level, const std::string& imageFolder = "../images/");
