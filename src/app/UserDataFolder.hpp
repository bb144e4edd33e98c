#pragma once

#include <filesystem>

// Where the game keeps what the player made: $XDG_DATA_HOME/rollavortex, by
// default ~/.local/share/rollavortex. Empty when neither variable gives an
// absolute folder (a relative one counts as not set).
std::filesystem::path userDataFolder();
