#pragma once

#include <array>
#include <string>
#include <string_view>

#include "sim/level/TileMap.hpp"

// The colour of a record's route over a map: apart from the sand, the sky
// and every colour of the switches.
inline constexpr std::string_view kRouteColour = "#ff5fa8";

// What a level's map shows, for its legend.
enum class MapFeature {
    wall,
    bridge,
    breakable,
    penalty,
    colourSwitch,
    colourTarget,
    loose,
    finish,
    start,
    count
};

// A level's map drawn from its cells for the web board, in the board's
// colours: one unit per cell, cell (c, r) covering [c, c + 1] x [r, r + 1].
// Walls are merged into rectangles (runs of a row, stacked while the rows
// below repeat them) and drawn with one tile pattern, so a map of 234 x 234
// cells stays a few kilobytes; every other cell is a reference to a shape
// drawn once.
struct LevelMap {
    int columns = 0;
    int rows = 0;
    // The <defs> and the shapes, to go inside an <svg> whose viewBox is
    // "0 0 columns rows".
    std::string shapes;
    std::array<bool, static_cast<std::size_t>(MapFeature::count)> has{};
    // Which colours of switches and targets occur, by colour index.
    std::array<bool, 6> switchColours{};
    std::array<bool, 6> targetColours{};

    bool shows(MapFeature feature) const { return has[static_cast<std::size_t>(feature)]; }
};

LevelMap drawLevelMap(const TileMap& map);

// The map with `route` (SVG in cell units, "" for none) over it and its
// legend under it as a <figure>; `noteHtml` ends the caption.
std::string mapFigureHtml(const LevelMap& map, std::string_view title, std::string_view route,
                          std::string_view noteHtml = {});
