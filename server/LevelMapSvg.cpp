#include "LevelMapSvg.hpp"

#include <map>
#include <utility>
#include <vector>

#include "BoardPage.hpp"
#include "sim/level/TileKinds.hpp"

namespace {

// The board is dark; the game's sky is blue and its walls sandy tiles.
constexpr std::string_view kSky = "#1c2b4a";
constexpr std::string_view kSand = "#d8b47e";
constexpr std::string_view kSandDark = "#9c7649";

// By colour index: blue, cyan, green, purple, red, yellow.
constexpr std::array<std::string_view, 6> kColours = {"#3d7be8", "#2fc6d8", "#43c35e",
                                                      "#a05ae0", "#e2473d", "#f3c932"};
constexpr std::array<std::string_view, 6> kColourNames = {"blue",   "cyan", "green",
                                                          "purple", "red",  "yellow"};

// Drawn once in <defs>, in a cell's units; switches and targets take the
// colour of the <use> that places them.
constexpr std::string_view kDefs = R"svg(<defs>
<pattern id="m-wall" width="1" height="1" patternUnits="userSpaceOnUse">
<rect width="1" height="1" fill="#d8b47e"/>
<path d="M.04 .96V.04H.96" fill="none" stroke="#f2dcb2" stroke-width=".08"/>
<path d="M.96 .04V.96H.04" fill="none" stroke="#9c7649" stroke-width=".08"/>
</pattern>
<g id="m-bridge"><rect x=".02" y=".2" width=".96" height=".6" rx=".08" fill="#8d5d33" stroke="#5c3a1c" stroke-width=".06"/>
<path d="M0 .5H1" stroke="#e6d3a3" stroke-width=".08" stroke-dasharray=".12 .08"/></g>
<g id="m-crate"><rect x=".06" y=".06" width=".88" height=".88" fill="#b87a43" stroke="#6e4322" stroke-width=".08"/>
<path d="M.14 .86L.86 .14" stroke="#6e4322" stroke-width=".12"/></g>
<g id="m-penalty"><circle cx=".5" cy=".5" r=".38" fill="#eef1f6" stroke="#4a5570" stroke-width=".08"/>
<path d="M.5 .5V.18A.32 .32 0 0 1 .82 .5Z" fill="#e2473d"/></g>
<g id="m-switch"><path d="M.5 .08L.92 .5L.5 .92L.08 .5Z" stroke="#10182b" stroke-width=".06"/>
<path d="M.38 .38L.62 .62M.62 .38L.38 .62" stroke="#fff" stroke-width=".1"/></g>
<g id="m-target"><circle cx=".5" cy=".5" r=".4" stroke="#10182b" stroke-width=".06"/>
<path d="M.36 .36L.64 .64M.64 .36L.36 .64" stroke="#fff" stroke-width=".1"/></g>
<path id="m-diamond" d="M.5 .18L.82 .5L.5 .82L.18 .5Z" fill="#9fb0cc" opacity=".8"/>
<circle id="m-ball" cx=".5" cy=".5" r=".3" fill="#9fb0cc" opacity=".8"/>
<g id="m-finish"><rect x=".04" y=".04" width=".92" height=".92" fill="#f4f4f4" stroke="#e5b842" stroke-width=".08"/>
<path d="M.08 .08h.21v.21h-.21zM.5 .08h.21v.21h-.21zM.29 .29h.21v.21h-.21zM.71 .29h.21v.21h-.21zM.08 .5h.21v.21h-.21zM.5 .5h.21v.21h-.21zM.29 .71h.21v.21h-.21zM.71 .71h.21v.21h-.21z" fill="#1a1a1a"/></g>
<circle id="m-start" cx=".5" cy=".5" r=".36" fill="none" stroke="#e8ecf4" stroke-width=".08" stroke-dasharray=".15 .1"/>
</defs>)svg";

constexpr std::size_t kColourCount = kColours.size();

struct Rectangle {
    int column = 0;
    int row = 0;
    int width = 0;
    int height = 0;
};

bool isWall(int tileId) {
    return tileId == TileId::wall || tileId == TileId::fixedWall;
}

// Runs of wall cells row by row; a run that repeats exactly in the row below
// grows downwards instead of starting a rectangle of its own.
std::vector<Rectangle> wallRectangles(const TileMap& map) {
    std::vector<Rectangle> rectangles;
    // Runs of the row above, by first and last column: the rectangle each grows.
    std::map<std::pair<int, int>, std::size_t> above;
    for (int row = 0; row < map.height; ++row) {
        std::map<std::pair<int, int>, std::size_t> here;
        for (int column = 0; column < map.width;) {
            if (!isWall(map.tiles[static_cast<std::size_t>(row * map.width + column)])) {
                ++column;
                continue;
            }
            int end = column;
            while (end < map.width &&
                   isWall(map.tiles[static_cast<std::size_t>(row * map.width + end)])) {
                ++end;
            }
            const auto grown = above.find({column, end});
            if (grown != above.end()) {
                ++rectangles[grown->second].height;
                here[{column, end}] = grown->second;
            } else {
                here[{column, end}] = rectangles.size();
                rectangles.push_back({column, row, end - column, 1});
            }
            column = end;
        }
        above = std::move(here);
    }
    return rectangles;
}

std::string wallPath(const TileMap& map) {
    std::string path;
    for (const Rectangle& r : wallRectangles(map)) {
        path += "M" + std::to_string(r.column) + " " + std::to_string(r.row) + "h" +
                std::to_string(r.width) + "v" + std::to_string(r.height) + "h-" +
                std::to_string(r.width) + "z";
    }
    return path;
}

// The triangle of a slope, its right angle at the corner the tile names.
std::string slopePath(int tileId, int column, int row) {
    const std::string corner = "M" + std::to_string(column) + " " + std::to_string(row);
    const std::string right = "M" + std::to_string(column + 1) + " " + std::to_string(row);
    switch (tileId) {
        case TileId::slopeUpperRight:
            return corner + "h1v1z";
        case TileId::slopeLowerRight:
            return right + "v1h-1z";
        case TileId::slopeLowerLeft:
            return corner + "v1h1z";
        default:  // upper left
            return corner + "h1l-1 1z";
    }
}

std::string placed(std::string_view shape, int column, int row, std::string_view fill = {}) {
    std::string use = "<use href=\"#" + std::string(shape) + "\" x=\"" + std::to_string(column) +
                      "\" y=\"" + std::to_string(row) + "\"";
    if (!fill.empty()) {
        use += " fill=\"" + std::string(fill) + "\"";
    }
    return use + "/>";
}

bool isSlope(int tileId) {
    return tileId >= TileId::slopeUpperRight && tileId <= TileId::slopeUpperLeft;
}

class MapDrawing {
  public:
    explicit MapDrawing(const TileMap& map) {
        drawing.columns = map.width;
        drawing.rows = map.height;
    }

    // One cell that is not a wall; the first ball start is the ball's.
    void drawCell(int tileId, int column, int row) {
        if (isSlope(tileId)) {
            slopes += slopePath(tileId, column, row);
            note(MapFeature::wall);
            return;
        }
        if (const auto shape = plainShape(tileId); !shape.first.empty()) {
            if (shape.second != MapFeature::start || !drawing.shows(MapFeature::start)) {
                cells += placed(shape.first, column, row);
                note(shape.second);
            }
            return;
        }
        const Colour colour = tileColour(tileId);
        if (colour == Colour::none) {
            return;
        }
        const auto index = static_cast<std::size_t>(colourIndex(colour));
        const bool isSwitch = tileId <= TileId::lastSwitch;
        cells += placed(isSwitch ? "m-switch" : "m-target", column, row, kColours[index]);
        note(isSwitch ? MapFeature::colourSwitch : MapFeature::colourTarget);
        (isSwitch ? drawing.switchColours : drawing.targetColours)[index] = true;
    }

    LevelMap finish(const std::string& walls) {
        if (!walls.empty()) {
            note(MapFeature::wall);
        }
        drawing.shapes = std::string(kDefs) + "<rect width=\"" + std::to_string(drawing.columns) +
                         "\" height=\"" + std::to_string(drawing.rows) + "\" fill=\"" +
                         std::string(kSky) + "\"/>\n<path d=\"" + walls +
                         "\" fill=\"url(#m-wall)\"/>\n<path d=\"" + slopes + "\" fill=\"" +
                         std::string(kSand) + "\" stroke=\"" + std::string(kSandDark) +
                         "\" stroke-width=\".05\"/>\n" + cells + "\n";
        return std::move(drawing);
    }

  private:
    static std::pair<std::string_view, MapFeature> plainShape(int tileId) {
        switch (tileId) {
            case TileId::ballStart:
                return {"m-start", MapFeature::start};
            case TileId::finish:
                return {"m-finish", MapFeature::finish};
            case TileId::breakable:
                return {"m-crate", MapFeature::breakable};
            case TileId::bridgeBlock:
                return {"m-bridge", MapFeature::bridge};
            case TileId::penalty:
                return {"m-penalty", MapFeature::penalty};
            case TileId::looseDiamond:
                return {"m-diamond", MapFeature::loose};
            case TileId::looseBall:
                return {"m-ball", MapFeature::loose};
            default:
                return {"", MapFeature::count};
        }
    }

    void note(MapFeature feature) { drawing.has[static_cast<std::size_t>(feature)] = true; }

    LevelMap drawing;
    std::string slopes;
    std::string cells;
};

std::string swatch(std::string_view picture, int width = 1) {
    return "<svg class=\"swatch\" viewBox=\"0 0 " + std::to_string(width) +
           " 1\" aria-hidden=\"true\">" + std::string(picture) + "</svg>";
}

std::string legendItem(std::string_view picture, std::string_view words, int width = 1) {
    return "<li>" + swatch(picture, width) + htmlEscape(words) + "</li>";
}

// One shape for each colour that occurs, side by side.
std::string colouredItem(std::string_view shape, const std::array<bool, kColourCount>& colours,
                         std::string_view words) {
    std::string picture;
    std::string names;
    int width = 0;
    for (std::size_t i = 0; i < kColourCount; ++i) {
        if (colours[i]) {
            picture += placed(shape, width++, 0, kColours[i]);
            names += std::string(names.empty() ? "" : ", ") + std::string(kColourNames[i]);
        }
    }
    return legendItem(picture, std::string(words) + " (" + names + ")", width);
}

// The map as an inline SVG element that scales to the width of the page,
// named `title` for screen readers, with `overlay` drawn over it.
std::string mapSvg(const LevelMap& map, std::string_view title, std::string_view overlay) {
    return "<svg class=\"map\" viewBox=\"0 0 " + std::to_string(map.columns) + " " +
           std::to_string(map.rows) + "\" role=\"img\"><title>" + htmlEscape(title) + "</title>\n" +
           map.shapes + std::string(overlay) + "</svg>";
}

// What the map shows as a list of small pictures with their words; with
// `route`, the route's line too.
std::string legendHtml(const LevelMap& map, bool route) {
    std::string items;
    const auto item = [&](MapFeature feature, std::string_view picture, std::string_view words) {
        if (map.shows(feature)) {
            items += legendItem(picture, words);
        }
    };
    item(MapFeature::wall, "<rect width=\"1\" height=\"1\" fill=\"url(#m-wall)\"/>", "Wall");
    item(MapFeature::bridge, "<use href=\"#m-bridge\"/>", "Rope bridge");
    item(MapFeature::breakable, "<use href=\"#m-crate\"/>", "Breakable block");
    item(MapFeature::penalty, "<use href=\"#m-penalty\"/>", "Penalty, 3 s");
    if (map.shows(MapFeature::colourSwitch)) {
        items += colouredItem("m-switch", map.switchColours, "Switch: colours the ball");
    }
    if (map.shows(MapFeature::colourTarget)) {
        items +=
            colouredItem("m-target", map.targetColours, "Target: breaks at a ball of its colour");
    }
    if (map.shows(MapFeature::loose)) {
        items += legendItem("<use href=\"#m-diamond\"/><use href=\"#m-ball\" x=\"1\"/>",
                            "Loose pieces", 2);
    }
    item(MapFeature::start, "<use href=\"#m-start\"/>", "Start");
    item(MapFeature::finish, "<use href=\"#m-finish\"/>", "Finish");
    if (route) {
        const std::string colour(kRouteColour);
        items += legendItem("<path d=\"M.1 .8C.5 .1 .9 1 1.5 .5\" fill=\"none\" stroke=\"" +
                                colour + "\" stroke-width=\".14\" stroke-linecap=\"round\"/>" +
                                "<circle cx=\"1.5\" cy=\".5\" r=\".4\" fill=\"" + colour + "\"/>",
                            "Route of the record, and the ball at its end", 2);
    }
    return "<ul class=\"legend\">" + items + "</ul>";
}

}  // namespace

LevelMap drawLevelMap(const TileMap& map) {
    MapDrawing drawing(map);
    if (map.width <= 0 || map.height <= 0 ||
        map.tiles.size() != static_cast<std::size_t>(map.width) * map.height) {
        return drawing.finish("");
    }
    for (int row = 0; row < map.height; ++row) {
        for (int column = 0; column < map.width; ++column) {
            const int tileId = map.tiles[static_cast<std::size_t>(row * map.width + column)];
            if (!isWall(tileId)) {
                drawing.drawCell(tileId, column, row);
            }
        }
    }
    return drawing.finish(wallPath(map));
}

std::string mapFigureHtml(const LevelMap& map, std::string_view title, std::string_view route,
                          std::string_view noteHtml) {
    return "<figure class=\"level\">" + mapSvg(map, title, route) + "<figcaption>" +
           legendHtml(map, !route.empty()) + std::string(noteHtml) + "</figcaption></figure>";
}
