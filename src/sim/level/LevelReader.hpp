#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/base/GameMode.hpp"
#include "sim/level/LevelProblem.hpp"
#include "sim/level/TmxReader.hpp"

// A level file in either of its forms: a TMX map (sim/level/TmxReader.hpp) or
// an ASCII source (sim/level/LevelSource.hpp). The form is told by the bytes
// alone, so a level replays from its bytes as it was played from its file: a
// file whose first character is '<' is a map, anything else a source.
struct LevelRead {
    std::optional<TmxLevel> level;       // the cells, title and mode as written
    int firstMapLine = 0;                // a source's: the line of the map's top row
    std::vector<LevelProblem> problems;  // why it does not read, when it does not
};

LevelRead readLevel(std::string_view bytes);

// The same from a file, whose bytes are kept in `bytes` (for their hash). A
// missing, unreadable or too large file is refused, and a ".tmx" file must be
// a map: a broken one is not read as a source instead.
LevelRead readLevelFile(const std::filesystem::path& path, std::string& bytes);

// Whether a level that was read can be played, and in which mode.
struct LevelVerdict {
    std::optional<GameMode> mode;        // nothing when its "mode" names none
    std::vector<LevelProblem> problems;  // empty: it can be played
};

// The reading's problems, or those of the level's mode and map
// (sim/level/LevelCheck.hpp), a source's cells placed on its lines and
// columns.
LevelVerdict judgeLevel(const LevelRead& read);
