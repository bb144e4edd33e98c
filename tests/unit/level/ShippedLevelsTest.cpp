#include <box2d/b2_contact.h>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <set>

#include "LevelTestSupport.hpp"
#include "level/LevelCatalogue.hpp"
#include "level/TileKinds.hpp"

namespace {

struct ShippedLevel {
    GameMode mode;
    std::string file;
};

void PrintTo(const ShippedLevel& level, std::ostream* out) {
    *out << level.file;
}

std::vector<ShippedLevel> shippedLevels() {
    std::vector<ShippedLevel> levels;
    for (const GameMode mode : {raceMode, puzzleMode}) {
        LevelCatalogue catalogue;
        catalogue.fill(mode);
        for (const char* file : catalogue.files) {
            levels.push_back({mode, file});
        }
    }
    return levels;
}

class ShippedLevels : public ::testing::TestWithParam<ShippedLevel> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(readTileMap(map, GetParam().file.c_str())) << GetParam().file;
        ASSERT_GT(map.width, 0);
        ASSERT_LE(map.width, Level::maxCells);
        ASSERT_LE(map.height, Level::maxCells);
        ASSERT_EQ(map.tiles.size(), static_cast<std::size_t>(map.width) * map.height);
    }

    int at(int column, int row) const { return map.tiles[row * map.width + column]; }

    std::vector<std::pair<int, int>> cellsWith(int id) const {
        std::vector<std::pair<int, int>> found;
        for (int r = 0; r < map.height; ++r) {
            for (int c = 0; c < map.width; ++c) {
                if (at(c, r) == id) {
                    found.emplace_back(c, r);
                }
            }
        }
        return found;
    }

    // Cells the ball can get into, from the start, 4-connected: everything but
    // walls, slopes and bridges (breakable blocks and targets can go, loose
    // objects move). `outside` tells whether it ever ran off the map.
    std::vector<bool> reachable(bool& outside) const {
        std::vector<bool> seen(map.tiles.size(), false);
        outside = false;
        const auto start = cellsWith(TileId::ballStart);
        std::deque<std::pair<int, int>> queue(start.begin(), start.end());
        for (auto [c, r] : start) {
            seen[r * map.width + c] = true;
        }
        while (!queue.empty()) {
            const auto [c, r] = queue.front();
            queue.pop_front();
            for (auto [dc, dr] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const int nc = c + dc;
                const int nr = r + dr;
                if (nc < 0 || nr < 0 || nc >= map.width || nr >= map.height) {
                    outside = true;
                    continue;
                }
                const int id = at(nc, nr);
                const bool solid = id == TileId::wall || id == TileId::fixedWall ||
                                   id == TileId::bridgeBlock ||
                                   (id >= TileId::slopeUpperRight && id <= TileId::slopeUpperLeft);
                if (solid || seen[nr * map.width + nc]) {
                    continue;
                }
                seen[nr * map.width + nc] = true;
                queue.emplace_back(nc, nr);
            }
        }
        return seen;
    }

    TileMap map;
};

TEST_P(ShippedLevels, IsClosedAndEveryGoalCanBeReached) {
    EXPECT_EQ(cellsWith(TileId::ballStart).size(), 1u);
    bool outside = false;
    const auto seen = reachable(outside);
    EXPECT_FALSE(outside) << "the ball could leave the level";
    std::set<int> targetColours;
    std::set<int> switchColours;
    int finishes = 0;
    for (int r = 0; r < map.height; ++r) {
        for (int c = 0; c < map.width; ++c) {
            const int id = at(c, r);
            const int colour = tileColour(id);
            const bool goal = id == TileId::finish || colour != Colour::none;
            if (!goal) {
                continue;
            }
            EXPECT_TRUE(seen[r * map.width + c]) << "tile " << id << " at " << c << "," << r;
            finishes += id == TileId::finish ? 1 : 0;
            (id >= TileId::firstTarget ? targetColours : switchColours).insert(colour);
        }
    }
    if (GetParam().mode == raceMode) {
        EXPECT_GT(finishes, 0);
        return;
    }
    // A puzzle ends when the last target breaks: every target colour must be
    // available, from a switch or as the red the ball starts with.
    EXPECT_GE(targetColours.size(), 3u);
    for (const int colour : targetColours) {
        EXPECT_TRUE(colour == PlayState::startColour || switchColours.count(colour) == 1)
            << "no switch for colour " << colour;
    }
}

TEST_P(ShippedLevels, BuildsWithoutOverlapsAndSettlesInsideItsWalls) {
    TileImages images;
    PlayState play;
    const auto level = buildLevel(map, images, play, "no-sounds/");

    // A step of no time finds the contacts without moving anything.
    level->world->Step(0.0f, 10, 10);
    for (b2Contact* contact = level->world->GetContactList(); contact;
         contact = contact->GetNext()) {
        const b2Fixture* a = contact->GetFixtureA();
        const b2Fixture* b = contact->GetFixtureB();
        if (!contact->IsTouching() || a->IsSensor() || b->IsSensor()) {
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
    const float right = 1.28f * (map.width - 1);
    const float bottom = -1.28f * (map.height - 1);
    for (b2Body* body = level->world->GetBodyList(); body; body = body->GetNext()) {
        if (body->GetType() != b2_dynamicBody) {
            continue;
        }
        const b2Vec2 p = body->GetPosition();
        EXPECT_TRUE(p.x > 0.0f && p.x < right && p.y < 0.0f && p.y > bottom)
            << "a body escaped to " << p.x / 1.28f << "," << -p.y / 1.28f;
    }
}

INSTANTIATE_TEST_SUITE_P(All, ShippedLevels, ::testing::ValuesIn(shippedLevels()),
                         [](const auto& info) {
                             return std::filesystem::path(info.param.file).stem().string();
                         });

}  // namespace
