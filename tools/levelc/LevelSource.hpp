#pragma once

#include <string>
#include <vector>

// A level as a person edits it: a few header lines, then "map:" and one text
// row per row of cells, one character per cell (legend in levels/README.md).
struct LevelSource {
    std::string title;
    int width = 0;
    int height = 0;
    std::vector<int> tiles;  // row-major tile ids
};

// The tile id of a map character, or -1 when the character means nothing.
int tileIdOf(char symbol);

// Parses a source text. On failure returns false and says why in `error`,
// with the line (and column) of the fault.
bool parseLevelSource(const std::string& text, LevelSource& level, std::string& error);
