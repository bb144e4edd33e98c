#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ServerLevels.hpp"

// How the web board names levels. In its addresses a level is its mode and
// the text the game names it by in requests: a shipped level's id
// (/table/1/250), a custom level's 64 hex digits (/table/1/4644...87d).

// "MODE/LEVEL" of a level this server keeps; null for anything else.
const ServerLevel* levelOfPath(const ServerLevels& levels, std::string_view modeAndLevel);

// "/table/MODE/LEVEL": the level's whole table.
std::string tablePath(const ServerLevel& level);

// The level's name (with its pack's) and mode in a heading of `tag`, and for
// a custom level a line in small print with its file's SHA-256.
std::string levelHeadingHtml(const char* tag, const ServerLevel& level);

// The custom levels, by pack, each a link to its table with the start of its
// hash; "" when there are none. Nothing is read from the store: the front page
// costs the same however many levels the server keeps.
std::string customLevelListHtml(const ServerLevels& levels);
