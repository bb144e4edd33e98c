#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempFolder.hpp"
#include "level/LevelCatalogue.hpp"
#include "sim/base/DataFolder.hpp"

namespace {

const std::string race = "title: Loop\nmap:\n#####\n#@.F#\n#####\n";
const std::string puzzle = "mode: puzzle\nmap:\n#####\n#@.R#\n#####\n";

// "group number|shown name|playable" of each level.
std::vector<std::string> listed(const LevelCatalogue& catalogue) {
    std::vector<std::string> lines;
    for (const CatalogueLevel& level : catalogue.levels) {
        lines.push_back(std::to_string(level.group) + "|" + level.shownName() + "|" +
                        (level.playable() ? "ok" : "broken"));
    }
    return lines;
}

}  // namespace

// What the Tour's entries are is met in scene_custom's TourScene.
TEST(LevelCatalogue, EachModeListsItsLevelsTheTourThenCustomGroupsAndPlayAllStaysInItsGroup) {
    TempFolder custom;
    writeFileBytes(custom.file("loop.txt"), race);
    writeFileBytes(custom.file("riddle.txt"), puzzle);
    writeFileBytes(custom.file("unreadable.tmx"), "<map");
    std::filesystem::create_directories(custom.path() / "pack");
    writeFileBytes(custom.file("pack/pack.txt"), "name: Mine\none.txt\nbroken.txt\ntwo.txt\n");
    writeFileBytes(custom.file("pack/one.txt"), race);
    writeFileBytes(custom.file("pack/broken.txt"), "mode: race\nmap:\n#F#\n");
    writeFileBytes(custom.file("pack/two.txt"), race);

    LevelCatalogue catalogue;
    catalogue.fill(raceMode, custom.path());
    std::vector<std::string> lines = listed(catalogue);
    // The game's two, then the Tour's race levels (group 1).
    ASSERT_GT(lines.size(), 7u);
    EXPECT_EQ(lines[0], "0|The Labyrinth|ok");
    EXPECT_EQ(lines[2].substr(0, 7), "1|Tour:");
    const std::vector<std::string> customLines(lines.end() - 5, lines.end());
    EXPECT_EQ(customLines, (std::vector<std::string>{
                               "2|Custom: Loop|ok", "2|Custom: unreadable|broken",
                               "3|Mine: Loop|ok", "3|Mine: broken|broken", "3|Mine: Loop|ok"}));

    // Play all: through the game's own, the Tour, each pack; a broken level
    // is stepped over, and a group's end is the end.
    const int first = catalogue.size() - 5;
    EXPECT_EQ(catalogue.nextInGroup(0), 1);
    EXPECT_EQ(catalogue.nextInGroup(1), -1);
    EXPECT_EQ(catalogue.nextInGroup(first), -1);
    EXPECT_EQ(catalogue.nextInGroup(first + 2), first + 4);
    EXPECT_EQ(catalogue.nextInGroup(first + 4), -1);

    // Thumbnails are the level file with .png appended, 512 x 256, or drawn
    // from the map where there is none; a broken level has none.
    for (int i = 0; i < catalogue.size(); ++i) {
        const bool shown = catalogue.levels[static_cast<std::size_t>(i)].playable();
        EXPECT_EQ(catalogue.thumbnail(i).getSize(), shown ? sf::Vector2u(512, 256) : sf::Vector2u())
            << lines[static_cast<std::size_t>(i)];
    }

    // Filled again, the catalogue is the other mode's. The puzzle is listed
    // in its own mode only; the unreadable file, whose mode nobody can tell,
    // in both.
    catalogue.fill(puzzleMode, custom.path());
    EXPECT_EQ(catalogue.levels[1].name, "Chaos Unleashed");
    EXPECT_EQ(catalogue.levels[1].file, dataPath("levels/ChaosUnleashed.tmx"));
    EXPECT_EQ(catalogue.levels[1].identity, LevelIdentity::shipped(20057));
    lines = listed(catalogue);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()),
              (std::vector<std::string>{"2|Custom: riddle|ok", "2|Custom: unreadable|broken"}));

    // A level of the game's own without a thumbnail keeps an empty picture
    // and stays listed.
    catalogue.addLevel("data/levels/NoSuchLevel.tmx", "Nothing", 1);
    EXPECT_EQ(catalogue.thumbnail(catalogue.size() - 1).getSize(), sf::Vector2u(0, 0));
    for (const int mode : {0, 3, -1}) {
        catalogue.fill(static_cast<GameMode>(mode));
        EXPECT_EQ(catalogue.size(), 0) << "mode " << mode;
    }
}
