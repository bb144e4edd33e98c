#pragma once

#include <SFML/Graphics/Image.hpp>

#include <map>
#include <string>
#include <vector>

#include "sim/level/LevelList.hpp"

// The levels of one mode, in playing order, as parallel lists indexed by the
// level index. The texts are the program's own literals.
class LevelCatalogue {
  public:
    // Replaces the contents with the levels of `mode` (files of the data
    // folder; none for a mode the game does not know) and loads their
    // thumbnails (the level file's path with ".png" appended).
    void fill(GameMode mode);
    void addLevel(const std::string& file, const char* name, int levelId);
    // A missing or broken thumbnail stays an empty picture.
    void loadThumbnails();

    int size() const { return static_cast<int>(files.size()); }

    std::vector<std::string> files;  // paths to open
    std::vector<const char*> names;
    std::vector<sf::Image> thumbnails;
    std::map<int, int> levelIds;  // level index -> permanent level id
};
