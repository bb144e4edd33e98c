#pragma once

#include <filesystem>

// The folder of the player's own files beside the settings:
// $XDG_DATA_HOME/rollavortex, by default ~/.local/share/rollavortex; empty when
// neither variable gives an absolute folder (a relative value counts as
// unset).
std::filesystem::path userDataFolder();

// Where the game looks for the player's own levels unless the command line
// names a folder: the user data folder's levels/; empty with no user data
// folder.
std::filesystem::path defaultCustomLevelFolder();
