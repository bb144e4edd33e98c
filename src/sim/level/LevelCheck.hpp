#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "sim/base/GameMode.hpp"
#include "sim/level/LevelProblem.hpp"
#include "sim/level/TileMap.hpp"

// The mode a level is played in, from its map property or header "mode":
// "Race" or "Puzzle" in any case, or the mode's number. Without one, a map
// with colour targets and no finish is a puzzle and any other a race.
// Nothing when the value names no mode.
std::optional<GameMode> levelModeOf(std::string_view written, const TileMap& map);

// Why a map that read well still cannot be played as a level of `mode`, each
// at its cell (cellX, cellY): not exactly one ball start; a race without a
// finish, a puzzle without a colour target or with a target whose colour the
// ball can never take; an opening through which the ball leaves the map.
// Empty for a level that can be played (whether it can be finished only
// playing tells: the autopilot).
std::vector<LevelProblem> checkLevelMap(const TileMap& map, GameMode mode);
