#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim/level/LevelProblem.hpp"

// A level as a person writes it in a text editor: a few header lines, then
// "map:" and one text row per row of cells, one character per cell (legend in
// levels/README.md and docs/making-levels.md). tools/levelc turns it into a
// TMX file; the game reads it as it is.
struct LevelSource {
    std::string title;  // "title:", empty when absent
    std::string mode;   // "mode:" as written, empty when absent
    int width = 0;
    int height = 0;
    int firstMapLine = 0;    // the line of the file holding the map's top row
    std::vector<int> tiles;  // row-major tile ids
};

namespace LevelSourceLimits {
// A file of nothing but unknown characters would otherwise give a problem a
// cell; past this many the rest are counted.
constexpr std::size_t maxProblems = 50;
}  // namespace LevelSourceLimits

// The tile id of a map character, or -1 when the character means nothing.
int tileIdOf(char symbol);

// Reads a source text: every problem found in the order of the file, each
// with its line (and column); empty when the text reads, and only then is
// `level` filled. Whether the cells make a level that can be played
// (sim/level/LevelCheck.hpp) is not looked at here.
std::vector<LevelProblem> readLevelSource(std::string_view text, LevelSource& level);

// True when the first non-blank character of the bytes (after a UTF-8 byte
// order mark) is '<': a TMX file. Anything else is read as a source.
bool looksLikeXml(std::string_view bytes);
