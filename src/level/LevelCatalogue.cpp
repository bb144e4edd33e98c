#include "level/LevelCatalogue.hpp"

#include <string>

#include "app/Files.hpp"
#include "sim/base/DataFolder.hpp"

void LevelCatalogue::fill(GameMode mode) {
    files.clear();
    names.clear();
    thumbnails.clear();
    for (const LevelEntry& level : levelsOf(mode)) {
        addLevel(dataPath(level.file), level.name, level.levelId);
    }
    loadThumbnails();
}

void LevelCatalogue::addLevel(const std::string& file, const char* name, int levelId) {
    const int index = static_cast<int>(files.size());
    files.push_back(file);
    names.push_back(name);
    // The lists stay parallel: a level has an empty picture until
    // loadThumbnails.
    thumbnails.emplace_back();
    levelIds[index] = levelId;
}

void LevelCatalogue::loadThumbnails() {
    thumbnails.clear();
    for (const std::string& file : files) {
        thumbnails.emplace_back();
        loadImage(thumbnails.back(), file + ".png");
    }
}
