#include "level/LevelCatalogue.hpp"

#include <algorithm>
#include <map>

#include "app/files/Files.hpp"
#include "level/LevelPicture.hpp"
#include "level/TileImages.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/level/TileMap.hpp"

namespace {

// The size the level selection and the play screen show.
constexpr unsigned thumbnailWidth = 512;
constexpr unsigned thumbnailHeight = 256;

bool fileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string CatalogueLevel::shownName() const {
    return groupName.empty() ? name : groupName + ": " + name;
}

void LevelCatalogue::fill(GameMode mode, const std::filesystem::path& customFolder) {
    levels.clear();
    thumbnails.clear();
    thumbnailLoaded.clear();
    lastGroup = 0;
    for (const LevelEntry& level : levelsOf(mode)) {
        addLevel(dataPath(level.file), level.name, level.levelId);
    }
    addFound(findPacks(dataPath("levels")), mode);
    if (!customFolder.empty()) {
        addFound(findLevels(customFolder), mode);
    }
}

void LevelCatalogue::addLevel(const std::string& file, const std::string& name, int levelId,
                              int group) {
    levels.push_back({file, name, LevelIdentity::shipped(levelId), group, {}, {}});
    lastGroup = std::max(lastGroup, group);
}

void LevelCatalogue::addFound(const std::vector<FoundLevel>& found, GameMode mode) {
    // Groups by pack name as they come: a folder's loose levels, then its
    // packs one after the other.
    std::map<std::string, int> groups;
    for (const FoundLevel& level : found) {
        if (level.mode && *level.mode != mode) {
            continue;
        }
        const auto [group, added] = groups.emplace(level.pack, lastGroup + 1);
        if (added) {
            ++lastGroup;
        }
        CatalogueLevel listed{level.file.string(),
                              level.name,
                              LevelIdentity::ofFile(level.sha256),
                              group->second,
                              level.pack.empty() ? customGroupName : level.pack,
                              {}};
        for (const LevelProblem& problem : level.problems) {
            listed.problems.push_back(problem.text());
        }
        levels.push_back(std::move(listed));
    }
}

const sf::Image& LevelCatalogue::thumbnail(int index) {
    // The lists grow to the levels as pictures are asked for.
    thumbnails.resize(levels.size());
    thumbnailLoaded.resize(levels.size(), false);
    const auto i = static_cast<std::size_t>(index);
    if (thumbnailLoaded[i]) {
        return thumbnails[i];
    }
    thumbnailLoaded[i] = true;
    const CatalogueLevel& level = levels[i];
    const std::string picture = level.file + ".png";
    if (level.identity.isShipped() || fileExists(picture)) {
        loadImage(thumbnails[i], picture);
        return thumbnails[i];
    }
    TileMap map;
    if (!level.playable() || !readTileMap(map, level.file.c_str())) {
        return thumbnails[i];
    }
    if (!tiles) {
        tiles = std::make_shared<TileImages>();
        tiles->loadImages();
    }
    thumbnails[i] = renderLevelPicture(map, *tiles, thumbnailWidth, thumbnailHeight);
    return thumbnails[i];
}

void LevelCatalogue::loadThumbnails() {
    thumbnailLoaded.assign(levels.size(), false);
    for (int i = 0; i < size(); ++i) {
        thumbnail(i);
    }
}

int LevelCatalogue::nextInGroup(int index) const {
    if (index < 0) {
        return -1;
    }
    for (int next = index + 1; next < size(); ++next) {
        const CatalogueLevel& level = levels[static_cast<std::size_t>(next)];
        if (level.group != levels[static_cast<std::size_t>(index)].group) {
            return -1;
        }
        if (level.playable()) {
            return next;
        }
    }
    return -1;
}
