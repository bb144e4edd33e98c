#pragma once

#include <SFML/Graphics/Image.hpp>

#include <filesystem>
#include <string>
#include <vector>

#include "sim/level/LevelFolder.hpp"
#include "sim/level/LevelIdentity.hpp"
#include "sim/level/LevelList.hpp"

// One level of the level selection.
struct CatalogueLevel {
    std::string file;  // path to open
    std::string name;
    LevelIdentity identity;
    // Levels of one group are played in a row by "Play all": the game's own
    // levels, those of each pack, and the custom levels on their own.
    int group = 0;
    std::string groupName;  // empty for the game's own levels
    // Why it cannot be played, one problem a line; empty when it can.
    std::vector<std::string> problems;

    bool playable() const { return problems.empty(); }
    // "Tour: First Steps" for a level of a pack, else the name.
    std::string shownName() const;
};

// The levels of one mode in playing order, with their thumbnails in a
// parallel list indexed by the level index.
class LevelCatalogue {
  public:
    static constexpr const char* customGroupName = "Custom";

    // Replaces the contents with the game's own levels of `mode` (none for a
    // mode the game does not know), then the packs of the data folder's
    // levels/ (the Tour), then the levels of `customFolder` when it is given
    // (sim/level/LevelFolder.hpp), and loads their thumbnails. A custom level
    // that does not say its mode because it does not read is listed, broken,
    // under both modes.
    void fill(GameMode mode, const std::filesystem::path& customFolder = {});
    // A level of the game's own, in a group of its own when `group` says so.
    void addLevel(const std::string& file, const std::string& name, int levelId, int group = 0);
    // The found levels of `mode`, each pack and the loose ones a group of its own.
    void addFound(const std::vector<FoundLevel>& found, GameMode mode);
    // Each level's picture: the level file's path with ".png" appended when
    // that file is there; else, for a level that can be played, drawn from
    // its map. A level without either keeps an empty picture.
    void loadThumbnails();

    int size() const { return static_cast<int>(levels.size()); }
    // Where "Play all" goes after level `index`: the next playable level of
    // its group, or -1 when the group ends.
    int nextInGroup(int index) const;

    std::vector<CatalogueLevel> levels;
    std::vector<sf::Image> thumbnails;

  private:
    int lastGroup = 0;
};
