#include "sim/level/LevelCheck.hpp"

#include <algorithm>
#include <array>
#include <string>

#include "sim/base/PlainText.hpp"
#include "sim/level/PlayState.hpp"
#include "sim/level/TileKinds.hpp"

namespace {

const char* const colourNames[] = {"blue", "cyan", "green", "purple", "red", "yellow"};
constexpr std::string_view switchSymbols = "bcgpry";

LevelProblem atCell(std::string reason, const TileMap& map, std::size_t index) {
    LevelProblem problem{std::move(reason)};
    problem.cellX = static_cast<int>(index % static_cast<std::size_t>(map.width));
    problem.cellY = static_cast<int>(index / static_cast<std::size_t>(map.width));
    return problem;
}

bool holds(const TileMap& map, int id) {
    return std::find(map.tiles.begin(), map.tiles.end(), id) != map.tiles.end();
}

void checkBallStarts(const TileMap& map, std::vector<LevelProblem>& problems) {
    int starts = 0;
    for (std::size_t i = 0; i < map.tiles.size(); ++i) {
        if (map.tiles[i] == TileId::ballStart && ++starts > 1) {
            problems.push_back(atCell("a second ball start (@): a level has exactly one", map, i));
        }
    }
    if (starts == 0) {
        problems.push_back({"the map has no ball start (@ in a source, tile 1 in the editor)"});
    }
}

void checkGoal(const TileMap& map, GameMode mode, std::vector<LevelProblem>& problems) {
    if (mode == raceMode) {
        if (!holds(map, TileId::finish)) {
            problems.push_back({"a Race level needs a finish (F, tile 2)"});
        }
        return;
    }
    bool anyTarget = false;
    std::array<bool, 6> reported{};
    for (std::size_t i = 0; i < map.tiles.size(); ++i) {
        const int id = map.tiles[i];
        if (id < TileId::firstTarget || id > TileId::lastTarget) {
            continue;
        }
        anyTarget = true;
        const Colour colour = tileColour(id);
        const auto c = static_cast<std::size_t>(colourIndex(colour));
        if (colour == PlayState::startColour || holds(map, TileId::switchOf(colour)) ||
            reported[c]) {
            continue;
        }
        reported[c] = true;
        problems.push_back(atCell(std::string("no ") + colourNames[c] + " switch (" +
                                      switchSymbols[c] +
                                      ") anywhere: the ball can never take this target's colour",
                                  map, i));
    }
    if (!anyTarget) {
        problems.push_back({"a Puzzle level needs a colour target (B C G P R Y, tiles 21-26)"});
    }
}

bool stopsTheBall(int id) {
    return id == TileId::wall || id == TileId::fixedWall;
}

// Walks from the ball start through every cell not walled off; a cell on the
// edge of the map reached that way lets the ball fall out of the world.
// Breakable blocks, bridges and slopes count as open: they break, swing, or
// leave a corner free.
void checkClosed(const TileMap& map, std::vector<LevelProblem>& problems) {
    const auto start = std::find(map.tiles.begin(), map.tiles.end(), TileId::ballStart);
    if (start == map.tiles.end()) {
        return;
    }
    const int width = map.width;
    const int height = map.height;
    std::vector<bool> seen(map.tiles.size(), false);
    std::vector<int> open{static_cast<int>(start - map.tiles.begin())};
    seen[static_cast<std::size_t>(open.front())] = true;
    while (!open.empty()) {
        const int cell = open.back();
        open.pop_back();
        const int x = cell % width;
        const int y = cell / width;
        if (x == 0 || y == 0 || x == width - 1 || y == height - 1) {
            problems.push_back(
                atCell("the ball can get out of the map here: close the level "
                       "with walls (#)",
                       map, static_cast<std::size_t>(cell)));
            return;
        }
        for (const int next : {cell - 1, cell + 1, cell - width, cell + width}) {
            const auto n = static_cast<std::size_t>(next);
            if (!seen[n] && !stopsTheBall(map.tiles[n])) {
                seen[n] = true;
                open.push_back(next);
            }
        }
    }
}

}  // namespace

std::optional<GameMode> levelModeOf(std::string_view written, const TileMap& map) {
    if (written.empty()) {
        const bool targets = std::any_of(map.tiles.begin(), map.tiles.end(), [](int id) {
            return id >= TileId::firstTarget && id <= TileId::lastTarget;
        });
        return targets && !holds(map, TileId::finish) ? puzzleMode : raceMode;
    }
    if (equalsIgnoringCase(written, "race") || written == "1") {
        return raceMode;
    }
    if (equalsIgnoringCase(written, "puzzle") || written == "2") {
        return puzzleMode;
    }
    return std::nullopt;
}

std::vector<LevelProblem> checkLevelMap(const TileMap& map, GameMode mode) {
    std::vector<LevelProblem> problems;
    checkBallStarts(map, problems);
    checkGoal(map, mode, problems);
    checkClosed(map, problems);
    return problems;
}
