#pragma once

#include <optional>
#include <string>

// The bytes of the level file this server replays runs of a mode and level
// on, from the game's data folder as it is now; empty for a level it does not
// know or a file it cannot read.
std::optional<std::string> levelFileBytes(int mode, int levelId);
