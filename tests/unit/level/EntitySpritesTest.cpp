#include <gtest/gtest.h>

#include "TestLevels.hpp"
#include "level/EntitySprites.hpp"
#include "level/TileImages.hpp"
#include "sim/level/Level.hpp"
#include "sim/level/PlayState.hpp"

// Tile ids and picture indices share names (a wall is id 3 and picture 0):
// each id must show its own picture.
TEST(EntitySprites, EveryTileShowsItsOwnPictureAndSwitchesGlow) {
    const std::pair<int, int> cases[] = {
        {TileId::ballStart, TileImages::player},
        {TileId::finish, TileImages::finish},
        {TileId::wall, TileImages::wall},
        {TileId::bridgeBlock, TileImages::wall},
        {TileId::fixedWall, TileImages::wall},
        {TileId::breakable, TileImages::breakable},
        {TileId::slopeUpperRight, TileImages::wallUpperRight},
        {TileId::slopeLowerLeft, TileImages::wallLowerLeft},
        {TileId::looseDiamond, TileImages::looseDiamond},
        {TileId::looseBall, TileImages::looseBall},
        {TileId::penalty, TileImages::penalty},
        {TileId::switchOf(Colour::green), TileImages::firstSwitch + 2},
        {TileId::targetOf(Colour::yellow), TileImages::firstTarget + 5},
        {TileId::empty, -1},
        {TileId::unused, -1},
        {TileId::highest + 1, -1},
    };
    for (const auto& [id, picture] : cases) {
        EXPECT_EQ(TileImages::ofTile(id), picture) << "tile " << id;
    }

    // Built beside a level: a switch shows its glow, which moves on with time
    // only within sight; a wall shows its own picture.
    PlayState play;
    const auto level = buildLevel(levelFromRows({"@#b"}), play);
    TileImages images;
    EntitySprites sprites;
    sprites.build(*level, images);
    const int wall = level->entities.begin()->first;
    const int lever = level->entities.rbegin()->first;
    EXPECT_EQ(sprites.pictureShown(wall), TileImages::wall);
    EXPECT_EQ(sprites.pictureShown(lever), TileImages::firstSwitchFrame);
    sprites.animate(*level, sf::View(sf::FloatRect(0, 0, 1280, 1024)), 0.1f);
    EXPECT_EQ(sprites.pictureShown(lever), TileImages::firstSwitchFrame + 1);
    sprites.animate(*level, sf::View(sf::FloatRect(100000, 0, 1280, 1024)), 0.1f);
    EXPECT_EQ(sprites.pictureShown(lever), TileImages::firstSwitchFrame + 1) << "out of sight";
    EXPECT_EQ(sprites.pictureShown(99), -1);
}
