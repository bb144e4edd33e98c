#include <gtest/gtest.h>

#include <climits>

#include "LevelTestSupport.hpp"
#include "sim/level/TileKinds.hpp"

namespace {

constexpr float near = 1e-5f;

class LevelBuild : public ::testing::Test {
  protected:
    std::unique_ptr<Level> build(const TileMap& map) { return buildLevel(map, play); }

    PlayState play;
};

}  // namespace

struct TileExpectation {
    int id;
    int kind;
    bool sensor;
    bool dynamic;
    int colour;
};

TEST_F(LevelBuild, EveryTileIdGetsItsKindSensorFlagAndColour) {
    const std::vector<TileExpectation> table = {
        {2, 3, true, false, -1},   {3, 0, false, false, -1}, {4, 4, false, false, -1},
        {5, 0, false, false, -1},  {6, 0, false, false, -1}, {7, 0, false, false, -1},
        {8, 0, false, false, -1},  {9, 7, false, true, -1},  {10, 7, false, true, -1},
        {11, 6, true, false, 0},   {14, 6, true, false, 3},  {16, 6, true, false, 5},
        {17, 8, false, false, -1}, {18, 0, false, true, -1}, {19, 0, false, false, -1},
        {21, 5, false, false, 0},  {23, 5, false, false, 2}, {26, 5, false, false, 5},
    };
    // Spread out so nothing touches; ids that make nothing in between.
    std::vector<int> row = {1, 0};
    for (const TileExpectation& tile : table) {
        row.push_back(tile.id);
        row.push_back(0);
    }
    for (int nothing : {0, 20, 27, -5, INT_MAX}) {
        row.push_back(nothing);
    }
    const auto level = build(mapOf({row}));
    EXPECT_EQ(level->entities.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const TileExpectation& want = table[i];
        const Entity* entity = entityAt(*level, static_cast<int>(2 + 2 * i), 0);
        ASSERT_NE(entity, nullptr) << "id " << want.id;
        EXPECT_EQ(static_cast<int>(entity->kind()), want.kind) << "id " << want.id;
        EXPECT_EQ(entity->fixture()->IsSensor(), want.sensor) << "id " << want.id;
        EXPECT_EQ(entity->body()->GetType() == b2_dynamicBody, want.dynamic) << "id " << want.id;
        EXPECT_EQ(colourIndex(entity->colour()), want.colour) << "id " << want.id;
    }
    EXPECT_EQ(bodiesOfKind(*level, BodyKind::ball), 1);
}

// Bridge blocks hang from each other (one rod a pair) and from the walls beside
// them, but not from fixed walls.
TEST_F(LevelBuild, BridgesHoldBetweenWallsAndFallBetweenFixedWalls) {
    for (const int wall : {TileId::wall, TileId::fixedWall}) {
        const auto level = build(mapOf({{1, 0, 0, 0}, {wall, 18, 18, wall}, {0, 0, 0, 0}}));
        const b2Body* block = entityAt(*level, 1, 1)->body();
        EXPECT_EQ(level->bridgeJoints.size(), wall == TileId::wall ? 3u : 1u);
        level->world->SetGravity(b2Vec2(0.0f, -86.49f));
        for (int i = 0; i < 350; ++i) {
            stepLevel(*level);
        }
        if (wall == TileId::wall) {
            EXPECT_GT(block->GetPosition().y, -1.28f - 0.3f) << "the bridge holds";
        } else {
            EXPECT_LT(block->GetPosition().y, -10.0f) << "the bridge falls";
        }
    }
    EXPECT_EQ(build(mapOf({{1, 0, 0}, {3, 3, 3}, {3, 3, 3}}))->world->GetJointCount(), 0);
}

TEST_F(LevelBuild, EntitiesAreNumberedInCreationOrderWithinTheirLevelAndQueuedOnesGoButTheBall) {
    const auto first = build(mapOf({{3, 4}, {1, 9}}));
    ASSERT_EQ(first->entities.size(), 3u);
    std::vector<int> numbers;
    for (const auto& [number, entity] : first->entities) {
        EXPECT_EQ(number, entity->number());
        numbers.push_back(number);
    }
    // Row-major: wall, block, then the ball takes a number, then the diamond.
    EXPECT_EQ(numbers, (std::vector<int>{2, 3, 5}));
    EXPECT_EQ(first->ball->number(), 4);
    EXPECT_EQ(entityAt(*first, 1, 1)->number(), 5);

    // Another level counts afresh, whatever was built before: two simulations
    // in one process share no counter.
    const auto second = build(mapOf({{1, 3}}));
    EXPECT_EQ(second->ball->number(), 2);
    EXPECT_EQ(second->entities.begin()->first, 3);

    // The block goes; the ball, not one of the entities, and a number of
    // nothing change nothing.
    play.destroyQueue[entityAt(*first, 1, 0)->number()] = BodyKind::breakable;
    play.destroyQueue[first->ball->number()] = BodyKind::ball;
    play.destroyQueue[123456789] = BodyKind::breakable;
    const int bodies = first->world->GetBodyCount();
    destroyQueuedEntities(*first, play);
    EXPECT_TRUE(play.destroyQueue.empty());
    EXPECT_EQ(entityAt(*first, 1, 0), nullptr);
    EXPECT_EQ(first->world->GetBodyCount(), bodies - 1);
    EXPECT_TRUE(first->ball);
}

TEST_F(LevelBuild, OneBallAtTheFirstStartOrElseInTheFirstEmptyCell) {
    const auto twice = build(mapOf({{0, 1, 0, 1}, {3, 3, 3, 3}}));
    EXPECT_EQ(twice->ballStarts, 2);
    EXPECT_EQ(bodiesOfKind(*twice, BodyKind::ball), 1);
    EXPECT_NEAR(twice->ball->body()->GetPosition().x, 1.28f, near);

    const auto level = build(mapOf({{3, 3, 3}, {3, 20, 0}, {3, 3, 3}}));
    EXPECT_EQ(level->ballStarts, 0);
    ASSERT_TRUE(level->ball);
    EXPECT_NEAR(level->ball->body()->GetPosition().x, 1.28f, near);  // id 20 makes nothing
    EXPECT_NEAR(level->ball->body()->GetPosition().y, -1.28f, near);

    // Not one empty cell: below the map, clear of every tile.
    const auto full = build(mapOf({{3, 3}, {3, 3}}));
    ASSERT_TRUE(full->ball);
    EXPECT_NEAR(full->ball->body()->GetPosition().y, -2.56f, near);
    const auto nothing = build(TileMap{});
    ASSERT_TRUE(nothing->ball);
    EXPECT_TRUE(nothing->entities.empty());
    for (int i = 0; i < 10; ++i) {
        stepLevel(*nothing);
    }
}

TEST_F(LevelBuild, MapsAreClampedToTheWorldBoxAndNeverReadPastTheirIds) {
    TileMap wide;
    wide.width = 300;
    wide.height = 2;
    wide.tiles.assign(600, TileId::wall);
    wide.tiles[0] = TileId::ballStart;
    wide.tiles[234] = 0;  // cut off in the first row; the second row's first cell if misread
    const auto clamped = build(wide);
    EXPECT_EQ(clamped->columns, 234);
    EXPECT_EQ(clamped->rows, 2);
    EXPECT_EQ(clamped->entities.size(), 2u * 234u - 1u);
    // The second row still starts at id 300, not at id 234.
    EXPECT_NE(entityAt(*clamped, 0, 1), nullptr);

    // Sizes past the ids or below zero are the tile map fuzzer's business.
    TileMap shortList = mapOf({{1, 3, 3}, {3, 3, 3}});
    shortList.tiles.resize(4);
    EXPECT_EQ(build(shortList)->entities.size(), 3u);
}

TEST_F(LevelBuild, WhatLeavesTheWorldStops) {
    const auto level = build(mapOf({{1}}));
    b2Body* ball = level->ball->body();
    ball->SetLinearVelocity(b2Vec2(0.0f, -200.0f));
    for (int i = 0; i < 2000 && ball->GetPosition().y > -300.0f; ++i) {
        stepLevel(*level);
    }
    stepLevel(*level);
    const float frozenAt = ball->GetPosition().y;
    EXPECT_LT(frozenAt, -300.0f);
    for (int i = 0; i < 100; ++i) {
        stepLevel(*level);
    }
    EXPECT_FLOAT_EQ(ball->GetPosition().y, frozenAt);
}
