#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "sim/level/TileMap.hpp"

// Level files are maps of the Tiled editor (TMX). Any file the editor writes
// for an orthogonal, fixed-size map with one tile layer reads, whatever the
// order of its attributes and whichever layer encoding it chose; object and
// image layers are ignored. How gids become our tile ids: sim/level/TileGids.hpp.
//
// Everything else is refused with its reason, never read as an empty or a
// different map: a level maker would otherwise play something they did not
// make, with nothing to tell them why.

struct TmxLevel {
    TileMap map;
    std::string title;  // the map property "title" (else "name"); empty when it has neither
    std::string mode;   // the map property "mode" as written; empty when absent
};

// Why a file is no level we can play, in words for the person who made it.
struct TmxRefusal {
    std::string reason;
    int line = 0;  // of the file, from 1; 0 when the reason is about no one line

    // "line 12: reason", or the reason alone.
    std::string text() const;
};

struct TmxRead {
    std::optional<TmxLevel> level;  // set when the file reads
    TmxRefusal refusal;             // why not, when it does not
};

namespace TmxLimits {
// Columns and rows: the largest map the physics world holds.
constexpr int maxCells = 234;
// A level file of the largest map in the most long-winded encoding is under
// 2 MiB; the bound keeps a hostile file from costing memory before it is read.
constexpr std::size_t maxFileBytes = std::size_t{16} << 20;
}  // namespace TmxLimits

// Reads a level file's content already in memory (a replayed run's level,
// tests, fuzzing).
TmxRead readTmx(std::string_view bytes);

// Reads a level file; a missing, unreadable or too large file is refused too.
TmxRead readTmxFile(const std::filesystem::path& path);
