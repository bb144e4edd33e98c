#pragma once

#include <string>

// The highscore server the menus talk to: the setting "highscoreserver" ("host"
// or "host:port"), or the local server's "localhost:8077" while it is unset or
// empty. Reading it does not add the key to the settings file.
std::string highscoreServerAddress();

// The player's highscore name, empty when none was ever chosen; reading it
// does not add the key to the settings file.
std::string storedUserName();
