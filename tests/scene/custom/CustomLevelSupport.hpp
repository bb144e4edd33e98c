#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "ScriptedGame.hpp"
#include "menu/LevelSelectScreen.hpp"

// Writes a level file into the player's custom level folder of a scripted
// game (its XDG_DATA_HOME is a temporary folder) and returns its path.
std::filesystem::path dropLevel(const std::string& name, const std::string& bytes);

// The index of the listed level whose file has this name; -1 when none has.
int indexOfFile(const LevelSelectScreen& screen, const std::string& fileName);

// Keys from the level selection's first line to level `index` on the level
// line: Down twice, then Left from the first level round to it (custom levels
// are listed last, so that is the short way).
std::uint64_t moveToLevel(ScriptedGame& game, std::uint64_t frame, int index, int levels);

// Plays the shown level as a corridor asks from the level selection, by frame
// numbers alone (the play screen is the selection's own): "Play single
// level", a quarter turn right once the countdown is over, and Space now and
// then until the game ends. Returns the frame of Return.
std::uint64_t playShownCorridor(ScriptedGame& game, std::uint64_t frame);
