#include <gtest/gtest.h>

#include <string>

#include "level/LevelCatalogue.hpp"

namespace {

TEST(LevelCatalogue, EachModeListsItsLevelsInOrder) {
    LevelCatalogue race;
    race.fill(raceMode);
    ASSERT_EQ(race.size(), 2);
    EXPECT_STREQ(race.names[0], "The Labyrinth");
    EXPECT_STREQ(race.names[1], "The Rope Bridge");
    EXPECT_STREQ(race.files[0], "data/levels/TheLabyrinth.tmx");
    EXPECT_STREQ(race.files[1], "data/levels/TheRopeBridge.tmx");
    EXPECT_EQ(race.levelIds.at(0), 250);
    EXPECT_EQ(race.levelIds.at(1), 275);

    LevelCatalogue puzzle;
    puzzle.fill(puzzleMode);
    ASSERT_EQ(puzzle.size(), 2);
    EXPECT_STREQ(puzzle.names[0], "Fortified");
    EXPECT_STREQ(puzzle.names[1], "Chaos Unleashed");
    EXPECT_STREQ(puzzle.files[1], "data/levels/ChaosUnleashed.tmx");
    EXPECT_EQ(puzzle.levelIds.at(0), 20000);
    EXPECT_EQ(puzzle.levelIds.at(1), 20057);
}

TEST(LevelCatalogue, FillingAgainReplacesAndUnknownModesAreEmpty) {
    LevelCatalogue catalogue;
    catalogue.fill(raceMode);
    catalogue.fill(puzzleMode);
    catalogue.fill(puzzleMode);
    EXPECT_EQ(catalogue.files.size(), 2u);
    EXPECT_EQ(catalogue.names.size(), 2u);
    EXPECT_EQ(catalogue.thumbnails.size(), 2u);
    EXPECT_STREQ(catalogue.names[0], "Fortified");

    for (const int mode : {0, 3, -1}) {
        catalogue.fill(static_cast<GameMode>(mode));
        EXPECT_EQ(catalogue.size(), 0) << "mode " << mode;
        EXPECT_TRUE(catalogue.thumbnails.empty());
    }
}

TEST(LevelCatalogue, ThumbnailsAreTheLevelFileWithPngAppended) {
    LevelCatalogue catalogue;
    catalogue.fill(puzzleMode);
    ASSERT_EQ(catalogue.thumbnails.size(), 2u);
    // The shipped thumbnails are 512 x 256.
    for (std::size_t i = 0; i < catalogue.thumbnails.size(); ++i) {
        EXPECT_EQ(catalogue.thumbnails[i].getSize(), sf::Vector2u(512, 256)) << catalogue.files[i];
    }
    // A level without a thumbnail file keeps an empty picture and stays listed.
    catalogue.addLevel("data/levels/NoSuchLevel.tmx", "Nothing", 1);
    catalogue.loadThumbnails();
    ASSERT_EQ(catalogue.thumbnails.size(), 3u);
    EXPECT_EQ(catalogue.thumbnails[2].getSize(), sf::Vector2u(0, 0));
    EXPECT_EQ(catalogue.thumbnails[0].getSize(), sf::Vector2u(512, 256));
    EXPECT_EQ(catalogue.levelIds.at(2), 1);
}

}  // namespace
