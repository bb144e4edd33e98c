#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/level/LevelIdentity.hpp"
#include "sim/level/LevelList.hpp"

// The web board's paths:
//   /table/MODE/LEVEL                        a level's whole table
//   /run/MODE/LEVEL/POSITION                 the page of a verified record
//   /run/MODE/LEVEL/POSITION/SHA256.run      its run, to download
// Numbers are plain decimals as the board writes them: digits only, no sign,
// no leading zero, at most six digits; anything else names nothing.

// A plain decimal number of up to six digits.
std::optional<int> plainNumber(std::string_view text);
// The LEVEL part of a path, written as LevelIdentity::text() writes it: a
// shipped level's id ("250"), any other level's SHA-256 (64 lowercase
// hexadecimal digits). Empty when it is neither.
std::optional<LevelIdentity> levelOfPathPart(std::string_view part);

// The parts of what follows a path's prefix, split at '/'.
std::vector<std::string_view> pathSegments(std::string_view rest);

// The shipped level a path names in a mode; null for any other.
const LevelEntry* shippedLevel(int mode, const LevelIdentity& level);

// A level the board knows, as a path names it.
struct BoardLevel {
    int mode = 0;
    LevelIdentity level;
    const LevelEntry* entry = nullptr;
};
// The level of a path's MODE and LEVEL parts; empty when it names none.
std::optional<BoardLevel> knownLevel(std::string_view modePart, std::string_view levelPart);
// "mode=M level=L", for the log.
std::string levelLogText(const BoardLevel& level);

std::string tablePath(int mode, const LevelIdentity& level);
std::string recordPath(int mode, const LevelIdentity& level, std::size_t position);
// The record's run, named by its identity so that a link on a page shown
// before the table changed never hands out another record's run.
std::string runFilePath(int mode, const LevelIdentity& level, std::size_t position,
                        std::string_view sha256);
