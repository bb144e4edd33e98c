// The shipped levels as data. That each can be finished is shown by its
// committed run (autopilot/ShippedRunsTest); here, that the ball can never
// leave a level, and that its bodies neither start inside each other nor fall
// out through a wall.
#include <box2d/b2_contact.h>
#include <gtest/gtest.h>

#include <deque>

#include "LevelTestSupport.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/level/LevelList.hpp"
#include "sim/level/TileKinds.hpp"

namespace {

// Whether the ball can run off the map from its start, 4-connected through
// everything but walls, slopes and bridges (breakable blocks and targets can
// go, loose objects move).
bool ballCanLeave(const TileMap& map) {
    std::vector<bool> seen(map.tiles.size(), false);
    std::deque<int> queue;
    for (std::size_t i = 0; i < map.tiles.size(); ++i) {
        if (map.tiles[i] == TileId::ballStart) {
            queue.push_back(static_cast<int>(i));
            seen[i] = true;
        }
    }
    while (!queue.empty()) {
        const int c = queue.front() % map.width, r = queue.front() / map.width;
        queue.pop_front();
        for (auto [dc, dr] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nc = c + dc, nr = r + dr;
            if (nc < 0 || nr < 0 || nc >= map.width || nr >= map.height) {
                return true;
            }
            const std::size_t at = static_cast<std::size_t>(nr * map.width + nc);
            const int id = map.tiles[at];
            const bool solid = id == TileId::wall || id == TileId::fixedWall ||
                               id == TileId::bridgeBlock ||
                               (id >= TileId::slopeUpperRight && id <= TileId::slopeUpperLeft);
            if (!solid && !seen[at]) {
                seen[at] = true;
                queue.push_back(static_cast<int>(at));
            }
        }
    }
    return false;
}

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

TEST(ShippedLevels, AreClosedAndBuildWithoutOverlapsOrEscapes) {
    for (const GameMode mode : {raceMode, puzzleMode}) {
        for (const LevelEntry& level : levelsOf(mode)) {
            const std::string file = dataPath(level.file);
            SCOPED_TRACE(file);
            TileMap map;
            ASSERT_TRUE(readTileMap(map, file.c_str()));
            ASSERT_EQ(map.tiles.size(), static_cast<std::size_t>(map.width) * map.height);
            EXPECT_FALSE(ballCanLeave(map));
            expectNoOverlapsOrEscapes(map);
        }
    }
}
