#pragma once

#include <string>

#include "ServerLevels.hpp"

// How the web board shows the levels it keeps (their addresses: BoardPaths).

// The level's name (with its pack's) and mode in a heading of `tag`, and for
// a custom level a line in small print with its file's SHA-256.
std::string levelHeadingHtml(const char* tag, const ServerLevel& level);

// The custom levels, by pack, each a link to its table with the start of its
// hash; "" when there are none. Nothing is read from the store: the front page
// costs the same however many levels the server keeps.
std::string customLevelListHtml(const ServerLevels& levels);
