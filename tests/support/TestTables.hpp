#pragma once

#include <string>

#include "online/HighscoreTable.hpp"

// A highscore table as the server sends it: `count` records named "p0",
// "p1", ..., with `ownName` at `ownIndex` (none when out of range).
inline HighscoreTable tableOf(unsigned count, unsigned ownIndex = ~0u,
                              const std::string& ownName = "racer") {
    HighscoreTable table;
    for (unsigned r = 0; r < count; ++r) {
        const std::string name = r == ownIndex ? ownName : "p" + std::to_string(r);
        table.tokens.insert(table.tokens.end(),
                            {std::to_string(r + 1), "2026-12-06", name, std::to_string(10 + r)});
    }
    return table;
}
