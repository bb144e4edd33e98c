#pragma once

#include <string>
#include <string_view>

#include "sim/level/LevelIdentity.hpp"
#include "sim/run/RecordedRun.hpp"

// Names the level the run is played on: its file, permanent id and the
// SHA-256 of the file's bytes, and this game's physics version. False when the
// file cannot be read; the hash is then left empty.
bool stampLevelFile(RecordedRun& run, const std::string& levelFile, int levelId);

// The level a run names: its level id when it has one, else its level file's
// SHA-256 (a custom level's run carries no id).
LevelIdentity identityOfRun(const RecordedRun& run);

// Why the run cannot replay on the level file with this SHA-256 in this
// game's physics, in words ("run is for another version of the level");
// empty when it can.
std::string stampProblem(const RecordedRun& run, std::string_view levelSha256);
