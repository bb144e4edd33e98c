#include "level/LevelCatalogue.hpp"

#include <string>

#include "app/DataFolder.hpp"
#include "app/Files.hpp"

void LevelCatalogue::fill(GameMode mode) {
    files.clear();
    names.clear();
    thumbnails.clear();
    // Level ids are permanent: they key personal bests and online tables.
    if (mode == raceMode) {
        addLevel(dataPath("levels/TheLabyrinth.tmx"), "The Labyrinth", 250);
        addLevel(dataPath("levels/TheRopeBridge.tmx"), "The Rope Bridge", 275);
    } else if (mode == puzzleMode) {
        addLevel(dataPath("levels/Fortified.tmx"), "Fortified", 20000);
        addLevel(dataPath("levels/ChaosUnleashed.tmx"), "Chaos Unleashed", 20057);
    }
    loadThumbnails();
}

void LevelCatalogue::addLevel(const std::string& file, const char* name, int levelId) {
    const int index = static_cast<int>(files.size());
    files.push_back(file);
    names.push_back(name);
    levelIds[index] = levelId;
}

void LevelCatalogue::loadThumbnails() {
    thumbnails.clear();
    for (const std::string& file : files) {
        thumbnails.emplace_back();
        loadImage(thumbnails.back(), file + ".png");
    }
}
