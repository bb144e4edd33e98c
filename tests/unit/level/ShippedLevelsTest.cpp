#include <box2d/b2_contact.h>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <set>

#include "LevelTestSupport.hpp"
#include "TempFolder.hpp"
#include "XmlCheck.hpp"
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
        for (const std::string& file : catalogue.files) {
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
        ASSERT_GT(map.height, 0);
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

TEST_P(ShippedLevels, OpensAsXmlTheTileEditorUnderstands) {
    const std::string text = slurpFile(GetParam().file);
    std::string error;
    const auto root = parseXml(text, error);
    ASSERT_TRUE(root) << GetParam().file << ": " << error;
    EXPECT_EQ(root->name, "map");
    EXPECT_EQ(root->attributes.at("width"), std::to_string(map.width));
    EXPECT_EQ(root->attributes.at("height"), std::to_string(map.height));
    EXPECT_EQ(root->attributes.at("tilewidth"), "64");

    const auto tilesets = root->childrenNamed("tileset");
    ASSERT_EQ(tilesets.size(), 1u);
    EXPECT_EQ(tilesets[0]->attributes.at("firstgid"), "1");
    const std::filesystem::path folder = std::filesystem::path(GetParam().file).parent_path();
    std::set<int> ids;
    for (const XmlElement* tile : tilesets[0]->childrenNamed("tile")) {
        ids.insert(std::stoi(tile->attributes.at("id")));
        const auto images = tile->childrenNamed("image");
        ASSERT_EQ(images.size(), 1u);
        EXPECT_TRUE(std::filesystem::exists(folder / images[0]->attributes.at("source")))
            << images[0]->attributes.at("source");
    }
    // Every id the game gives a meaning has its picture in the editor.
    for (int gid = 1; gid <= TileId::highest; ++gid) {
        EXPECT_EQ(ids.count(gid - 1), tileImageIndex(gid) >= 0 ? 1u : 0u) << "gid " << gid;
    }

    const auto layers = root->childrenNamed("layer");
    ASSERT_EQ(layers.size(), 1u);
    const auto data = layers[0]->childrenNamed("data");
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(data[0]->children.size(), map.tiles.size());
}

TEST_P(ShippedLevels, HasOneBallStartAndKnownTilesOnly) {
    EXPECT_EQ(cellsWith(TileId::ballStart).size(), 1u);
    for (const int id : map.tiles) {
        EXPECT_TRUE(id == TileId::empty || tileImageIndex(id) >= 0) << "id " << id;
    }
    EXPECT_LE(map.width, Level::maxCells);
    EXPECT_LE(map.height, Level::maxCells);
}

TEST_P(ShippedLevels, IsClosedAndEveryGoalCanBeReached) {
    bool outside = false;
    const auto seen = reachable(outside);
    EXPECT_FALSE(outside) << "the ball could leave the level";
    std::set<Colour> targetColours;
    std::set<Colour> switchColours;
    int finishes = 0;
    for (int r = 0; r < map.height; ++r) {
        for (int c = 0; c < map.width; ++c) {
            const int id = at(c, r);
            const Colour colour = tileColour(id);
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
    for (const Colour colour : targetColours) {
        EXPECT_TRUE(colour == PlayState::startColour || switchColours.count(colour) == 1)
            << "no switch for colour " << colourIndex(colour);
    }
}

TEST_P(ShippedLevels, BuildsWithoutOverlapsAndSettlesInsideItsWalls) {
    TileImages images;
    PlayState play;
    const auto level = buildLevel(map, images, play);
    ASSERT_EQ(level->ballStarts, 1);
    EXPECT_EQ(level->columns, map.width);

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

TEST(XmlCheck, RejectsWhatIsNotWellFormed) {
    std::string error;
    EXPECT_TRUE(
        parseXml("<?xml version=\"1.0\"?>\n<a x='1'><b/><!-- c --><c>t &amp; u</c></a>\n", error))
        << error;
    for (const char* bad : {"<a><b></a></b>", "<a x=1/>", "<a x=\"1\" x=\"2\"/>", "<a>&nbsp;</a>",
                            "<a/><b/>", "<a", "<a>x < y</a>", "<a x=\"1\"y=\"2\"/>", ""}) {
        EXPECT_FALSE(parseXml(bad, error)) << bad;
    }
}

}  // namespace
