#include "sim/level/LevelList.hpp"

namespace {

constexpr LevelEntry kRaceLevels[] = {
    {"levels/TheLabyrinth.tmx", "The Labyrinth", 250},
    {"levels/TheRopeBridge.tmx", "The Rope Bridge", 275},
};
constexpr LevelEntry kPuzzleLevels[] = {
    {"levels/Fortified.tmx", "Fortified", 20000},
    {"levels/ChaosUnleashed.tmx", "Chaos Unleashed", 20057},
};

}  // namespace

std::span<const LevelEntry> levelsOf(GameMode mode) {
    if (mode == raceMode) {
        return kRaceLevels;
    }
    if (mode == puzzleMode) {
        return kPuzzleLevels;
    }
    return {};
}

const char* modeName(GameMode mode) {
    if (mode == raceMode) {
        return "Race";
    }
    return mode == puzzleMode ? "Puzzle" : "";
}
