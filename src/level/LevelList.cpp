#include "level/LevelList.hpp"

namespace {

constexpr LevelEntry kRaceLevels[] = {
    {"data/levels/TheLabyrinth.tmx", "The Labyrinth", 250},
    {"data/levels/TheRopeBridge.tmx", "The Rope Bridge", 275},
};
constexpr LevelEntry kPuzzleLevels[] = {
    {"data/levels/Fortified.tmx", "Fortified", 20000},
    {"data/levels/ChaosUnleashed.tmx", "Chaos Unleashed", 20057},
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
