#include <gtest/gtest.h>

#include <string>

#include "level/LevelCatalogue.hpp"
#include "sim/base/DataFolder.hpp"

TEST(LevelCatalogue, EachModeListsItsLevelsInOrderAndOthersNone) {
    LevelCatalogue catalogue;
    catalogue.fill(raceMode);
    catalogue.fill(puzzleMode);  // filling again replaces
    ASSERT_EQ(catalogue.size(), 2);
    EXPECT_EQ(catalogue.levels[1].name, "Chaos Unleashed");
    EXPECT_EQ(catalogue.levels[1].file, dataPath("levels/ChaosUnleashed.tmx"));
    EXPECT_EQ(catalogue.levels[1].identity, LevelIdentity::shipped(20057));
    // Thumbnails are the level file with .png appended, 512 x 256.
    ASSERT_EQ(catalogue.thumbnails.size(), 2u);
    EXPECT_EQ(catalogue.thumbnails[0].getSize(), sf::Vector2u(512, 256));
    // A level without a thumbnail keeps an empty picture and stays listed.
    catalogue.addLevel("data/levels/NoSuchLevel.tmx", "Nothing", 1);
    catalogue.loadThumbnails();
    ASSERT_EQ(catalogue.thumbnails.size(), 3u);
    EXPECT_EQ(catalogue.thumbnails[2].getSize(), sf::Vector2u(0, 0));

    for (const int mode : {0, 3, -1}) {
        catalogue.fill(static_cast<GameMode>(mode));
        EXPECT_EQ(catalogue.size(), 0) << "mode " << mode;
        EXPECT_TRUE(catalogue.thumbnails.empty());
    }
}
