// The shipped levels as data. That each can be finished is shown by its
// committed run (run/ShippedRunsTest); here, that the TMX reader reads each
// cell for cell as its ASCII source says (before the reader, the game's line
// reader read the same cells: the golden hashes did not move), that the ball
// can never leave a level, and that its bodies neither start inside each
// other nor fall out through a wall.
#include <box2d/b2_contact.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "LevelTestSupport.hpp"
#include "TempFolder.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/level/LevelCheck.hpp"
#include "sim/level/LevelList.hpp"
#include "sim/level/LevelSource.hpp"
#include "sim/level/TmxReader.hpp"

namespace {

void expectNoOverlapsOrEscapes(const TileMap& map) {
    PlayState play;
    const auto level = buildLevel(map, play);
    ASSERT_EQ(level->ballStarts, 1);
    // A step of no time finds the contacts without moving anything.
    level->world->Step(0.0f, 10, 10);
    for (b2Contact* contact = level->world->GetContactList(); contact;
         contact = contact->GetNext()) {
        if (!contact->IsTouching() || contact->GetFixtureA()->IsSensor() ||
            contact->GetFixtureB()->IsSensor()) {
            continue;
        }
        b2WorldManifold manifold;
        contact->GetWorldManifold(&manifold);
        for (int i = 0; i < contact->GetManifold()->pointCount; ++i) {
            // Shapes that merely touch report about -0.02 (their skins).
            EXPECT_GT(manifold.separations[i], -0.05f)
                << "bodies overlap at " << manifold.points[i].x / 1.28f << ","
                << -manifold.points[i].y / 1.28f;
        }
    }
    // Two seconds of full gravity: nothing may fall out through a wall.
    level->world->SetGravity(b2Vec2(0.0f, -86.49f));
    for (int i = 0; i < 700; ++i) {
        stepLevel(*level);
    }
    for (b2Body* body = level->world->GetBodyList(); body; body = body->GetNext()) {
        if (body->GetType() != b2_dynamicBody) {
            continue;
        }
        const b2Vec2 p = body->GetPosition();
        EXPECT_TRUE(p.x > 0.0f && p.x < 1.28f * (map.width - 1) && p.y < 0.0f &&
                    p.y > -1.28f * (map.height - 1))
            << "a body at " << p.x / 1.28f << "," << -p.y / 1.28f;
    }
}

}  // namespace

TEST(ShippedLevels, ReadAsTheirSourcesSayAreClosedAndBuildWithoutOverlapsOrEscapes) {
    for (const GameMode mode : {raceMode, puzzleMode}) {
        for (const LevelEntry& level : levelsOf(mode)) {
            const std::string file = dataPath(level.file);
            SCOPED_TRACE(file);
            const std::string stem = std::filesystem::path(file).stem().string();
            LevelSource source;
            ASSERT_TRUE(readLevelSource(slurpFile("levels/src/" + stem + ".txt"), source).empty());
            const TmxRead read = readTmxFile(file);
            ASSERT_TRUE(read.level) << read.refusal.text();
            const TileMap& map = read.level->map;
            EXPECT_EQ(read.level->title, source.title);
            EXPECT_EQ(map.width, source.width);
            EXPECT_EQ(map.height, source.height);
            EXPECT_EQ(map.tiles,
                      std::vector<std::int32_t>(source.tiles.begin(), source.tiles.end()));
            // Closed, and a level of its mode: the checks a level maker's level passes.
            for (const LevelProblem& problem : checkLevelMap(map, mode)) {
                ADD_FAILURE() << problem.text();
            }
            expectNoOverlapsOrEscapes(map);
        }
    }
}
