#pragma once

#include <string>
#include <vector>

#include "sim/level/TileMap.hpp"

// Small levels written as rows of the characters of a level source, one cell
// each (levels/README.md): '@' ball, 'F' finish, '#' wall, 'X' fixed wall,
// '%' breakable, '!' penalty, 'b' blue switch, 'B' blue target, 'o' loose
// ball, '.' or ' ' empty.
TileMap levelFromRows(const std::vector<std::string>& rows);
// The same rows as the text of a level source, after `header`.
std::string levelSource(const std::vector<std::string>& rows, const std::string& header = "");

// A corridor: the ball at the left end, the finish at the right end, one cell
// high, closed by fixed walls. Turning the world a quarter turn to the right
// makes the ball roll into the finish.
TileMap finishCorridor();

// A closed room with the ball in the middle and no way out: the world can be
// turned as long as a test likes without the level ending.
TileMap closedRoom();

// The race level file of the scene tests (from the project root): a corridor
// with the ball at the left and the finish at the right end; and its bytes.
constexpr const char* corridorLevel = "tests/scene/game/levels/Corridor.tmx";
std::string corridorBytes();
