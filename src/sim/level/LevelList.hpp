#pragma once

#include <span>

#include "sim/base/GameMode.hpp"

// One level of a mode. The texts are the program's own literals.
struct LevelEntry {
    const char* file;
    const char* name;
    // Permanent: it keys personal bests and online tables.
    int levelId;
};

// The levels of `mode` in playing order; empty for an unknown mode. Needs no
// window or picture, so the highscore server can name the levels too.
std::span<const LevelEntry> levelsOf(GameMode mode);

// "Race", "Puzzle", or "" for an unknown mode.
const char* modeName(GameMode mode);
