#pragma once

#include <string>
#include <vector>

#include "sim/level/TileMap.hpp"

// Small levels written as rows of characters, one cell each:
//   '#' fixed wall   'W' wall       '1' ball start   'F' finish
//   'B' breakable    'P' penalty    's' blue switch  't' blue target
//   'R' red target   'o' loose ball ' ' empty
TileMap levelFromRows(const std::vector<std::string>& rows);

// A corridor: the ball at the left end, the finish at the right end, one cell
// high, closed by fixed walls. Turning the world a quarter turn to the right
// makes the ball roll into the finish.
TileMap finishCorridor();

// A closed room with the ball in the middle and no way out: the world can be
// turned as long as a test likes without the level ending.
TileMap closedRoom();
