#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ServerLevels.hpp"

// The web board's paths:
//   /table/MODE/LEVEL                        a level's whole table
//   /run/MODE/LEVEL/POSITION                 the page of a verified record
//   /run/MODE/LEVEL/POSITION/SHA256.run      its run, to download
// LEVEL is the text the game names the level by in requests: a shipped
// level's id (/table/1/250), a custom level's 64 hex digits. Numbers are
// plain decimals as the board writes them: digits only, no sign, no leading
// zero, at most six digits; anything else names nothing.

// A plain decimal number of up to six digits.
std::optional<int> plainNumber(std::string_view text);

// The parts of what follows a path's prefix, split at '/'.
std::vector<std::string_view> pathSegments(std::string_view rest);

// The level a path's MODE and LEVEL parts name; null when this server keeps
// no such level.
const ServerLevel* knownLevel(const ServerLevels& levels, std::string_view modePart,
                              std::string_view levelPart);

std::string tablePath(const ServerLevel& level);
std::string recordPath(const ServerLevel& level, std::size_t position);
// The record's run, named by its identity so that a link on a page shown
// before the table changed never hands out another record's run.
std::string runFilePath(const ServerLevel& level, std::size_t position, std::string_view sha256);
