#pragma once

#include <SFML/Graphics/Image.hpp>

#include <filesystem>
#include <memory>
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

class TileImages;

// The levels of one mode in playing order, with their thumbnails in a
// parallel list indexed by the level index. A thumbnail is read (or drawn)
// when it is first asked for: a folder of many custom levels opens the level
// selection without drawing a picture for each.
class LevelCatalogue {
  public:
    static constexpr const char* customGroupName = "Custom";

    // Replaces the contents with the game's own levels of `mode` (none for a
    // mode the game does not know), then the packs of the data folder's
    // levels/ (the Tour), then the levels of `customFolder` when it is given
    // (sim/level/LevelFolder.hpp). A custom level that does not say its mode
    // because it does not read is listed, broken, under both modes.
    void fill(GameMode mode, const std::filesystem::path& customFolder = {});
    // A level of the game's own, in a group of its own when `group` says so.
    void addLevel(const std::string& file, const std::string& name, int levelId, int group = 0);
    // The found levels of `mode`, each pack and the loose ones a group of its own.
    void addFound(const std::vector<FoundLevel>& found, GameMode mode);
    // A level's picture: the level file's path with ".png" appended when
    // that file is there (the game's own levels report a missing one); else,
    // for a level that can be played, drawn from its map. A level without
    // either has an empty picture.
    const sf::Image& thumbnail(int index);
    // Every level's picture at once (tools, tests).
    void loadThumbnails();

    int size() const { return static_cast<int>(levels.size()); }
    // Where "Play all" goes after level `index`: the next playable level of
    // its group, or -1 when the group ends.
    int nextInGroup(int index) const;

    std::vector<CatalogueLevel> levels;

  private:
    std::vector<sf::Image> thumbnails;  // parallel to levels
    std::vector<bool> thumbnailLoaded;
    // The tile pictures that draw missing thumbnails, loaded for the first;
    // shared by the copies the play screen takes.
    std::shared_ptr<TileImages> tiles;
    int lastGroup = 0;
};
