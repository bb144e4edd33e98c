#pragma once

#include <string>

// One reason a level file is no level we can play, in words for the person who
// made it, and where to look: a line and column of the file, or a cell of the
// map when the file's form has no line per cell (a TMX layer).
struct LevelProblem {
    std::string reason;
    int line = 0;    // of the file, from 1; 0 when the reason is about no one line
    int column = 0;  // of that line, from 1; 0 for the whole line
    // A cell of the map as the tile editor counts it (from 0, x to the right,
    // y down); -1 when the problem is about no one cell.
    int cellX = -1;
    int cellY = -1;

    // "line 12, column 5: reason", "tile 3, 7: reason", or the reason alone.
    std::string text() const;
};
