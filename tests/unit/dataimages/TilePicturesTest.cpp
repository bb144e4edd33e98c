// The tile pictures must cover exactly the area of their physics bodies, or
// the ball would seem to bounce off air or sink into walls.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "PictureHelpers.hpp"

namespace {

const char* kColours[] = {"blue", "cyan", "green", "purple", "red", "yellow"};

// Opaque width of the row through the middle of a 64 x 64 tile.
int middleRowWidth(const sf::Image& tile) {
    int width = 0;
    for (unsigned x = 0; x < 64; ++x) {
        width += alphaAt(tile, x, 32) >= 128 ? 1 : 0;
    }
    return width;
}

// Sum of alpha over the picture, in whole pixels.
double coveredArea(const sf::Image& image) {
    double sum = 0;
    for (unsigned y = 0; y < image.getSize().y; ++y) {
        for (unsigned x = 0; x < image.getSize().x; ++x) {
            sum += alphaAt(image, x, y) / 255.0;
        }
    }
    return sum;
}

void expectCircle(const std::string& name, double radius) {
    SCOPED_TRACE(name);
    const sf::Image tile = loadPicture(name);
    ASSERT_EQ(tile.getSize(), sf::Vector2u(64, 64));
    for (unsigned corner : {0u, 63u}) {
        EXPECT_EQ(alphaAt(tile, corner, 0), 0);
        EXPECT_EQ(alphaAt(tile, corner, 63), 0);
    }
    EXPECT_NEAR(middleRowWidth(tile), 2 * radius, 1.0);
    EXPECT_NEAR(coveredArea(tile), M_PI * radius * radius, 0.02 * M_PI * radius * radius);
}

void expectDiamond(const std::string& name) {
    SCOPED_TRACE(name);
    const sf::Image tile = loadPicture(name);
    ASSERT_EQ(tile.getSize(), sf::Vector2u(64, 64));
    // Points touch the middle of each cell edge; the corners stay empty.
    EXPECT_GT(alphaAt(tile, 32, 0), 0);
    EXPECT_GT(alphaAt(tile, 0, 32), 0);
    EXPECT_GT(alphaAt(tile, 63, 32), 0);
    EXPECT_GT(alphaAt(tile, 32, 63), 0);
    EXPECT_EQ(alphaAt(tile, 12, 12), 0);
    EXPECT_EQ(alphaAt(tile, 51, 51), 0);
    EXPECT_NEAR(coveredArea(tile), 64 * 64 / 2.0, 64 * 64 * 0.02);
}

}  // namespace

TEST(TilePictures, EveryGamePictureLoadsAndShowsSomething) {
    const std::vector<std::string> names = gamePictureNames();
    EXPECT_EQ(names.size(), 113u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const sf::Image image = loadPicture(name);
        ASSERT_GT(image.getSize().x, 0u);
        EXPECT_GT(visiblePixels(image).count, 0);
    }
}

TEST(TilePictures, SquaresFillTheirWholeCell) {
    for (const char* name : {"wall.png", "finish.png", "destroyable.png"}) {
        SCOPED_TRACE(name);
        const sf::Image tile = loadPicture(name);
        ASSERT_EQ(tile.getSize(), sf::Vector2u(64, 64));
        // Edges reach the cell border all round; only the rounded corners may cut in.
        for (unsigned i = 6; i < 58; ++i) {
            EXPECT_EQ(alphaAt(tile, i, 0), 255);
            EXPECT_EQ(alphaAt(tile, i, 63), 255);
            EXPECT_EQ(alphaAt(tile, 0, i), 255);
            EXPECT_EQ(alphaAt(tile, 63, i), 255);
        }
        EXPECT_GT(coveredArea(tile), 64 * 64 * 0.99);
    }
}

TEST(TilePictures, SlopesFillTheHalfWithTheRightAngle) {
    // Right-angle corner of each slope, in image coordinates (y down).
    const struct {
        const char* name;
        unsigned cornerX, cornerY;
    } slopes[] = {{"wallupperright.png", 63, 0},
                  {"walllowerright.png", 63, 63},
                  {"walllowerleft.png", 0, 63},
                  {"wallupperleft.png", 0, 0}};
    for (const auto& s : slopes) {
        SCOPED_TRACE(s.name);
        const sf::Image tile = loadPicture(s.name);
        ASSERT_EQ(tile.getSize(), sf::Vector2u(64, 64));
        const unsigned nearX = s.cornerX == 0 ? 3 : 60, nearY = s.cornerY == 0 ? 3 : 60;
        EXPECT_EQ(alphaAt(tile, nearX, nearY), 255);
        EXPECT_EQ(alphaAt(tile, 63 - nearX, 63 - nearY), 0);
        // The two other corners lie on the cut: half covered at most.
        EXPECT_EQ(alphaAt(tile, 63 - s.cornerX, 63 - s.cornerY), 0);
        EXPECT_NEAR(coveredArea(tile), 64 * 64 / 2.0, 64 * 64 * 0.015);
    }
}

TEST(TilePictures, RoundThingsHaveTheirBodyRadius) {
    for (const char* colour : kColours) {
        expectCircle(std::string("colorround") + colour + ".png", 31);
    }
    expectCircle("dynamiccircle.png", 31);
    expectCircle("penalty.png", 30);
}

TEST(TilePictures, DiamondsTouchTheCellEdges) {
    for (const char* colour : kColours) {
        expectDiamond(std::string("switch") + colour + ".png");
    }
    expectDiamond("dynamicdiamond.png");
}

// People who cannot tell the hues apart still see the symbol: the light
// (white) symbol pixels in the middle of each target and switch must differ
// clearly between every two colours.
TEST(TilePictures, EachColourHasItsOwnSymbol) {
    for (const char* kind : {"colorround", "switch"}) {
        std::vector<std::vector<bool>> masks;
        for (const char* colour : kColours) {
            const sf::Image tile = loadPicture(std::string(kind) + colour + ".png");
            ASSERT_EQ(tile.getSize(), sf::Vector2u(64, 64));
            std::vector<bool> mask;
            for (unsigned y = 18; y < 46; ++y) {
                for (unsigned x = 18; x < 46; ++x) {
                    const sf::Color c = tile.getPixel(x, y);
                    mask.push_back(c.r > 225 && c.g > 225 && c.b > 210);
                }
            }
            masks.push_back(mask);
        }
        for (size_t a = 0; a < masks.size(); ++a) {
            for (size_t b = a + 1; b < masks.size(); ++b) {
                int differing = 0;
                for (size_t i = 0; i < masks[a].size(); ++i) {
                    differing += masks[a][i] != masks[b][i] ? 1 : 0;
                }
                EXPECT_GT(differing, 40) << kind << " " << kColours[a] << " vs " << kColours[b];
            }
        }
    }
}

// The shine frames are drawn untinted over every switch colour: they must be
// pure light inside the switch's diamond, and actually move.
TEST(TilePictures, SwitchShineFramesAreWhiteLightInsideTheDiamond) {
    std::vector<sf::Image> frames;
    for (int i = 1; i <= 9; ++i) {
        SCOPED_TRACE(i);
        const sf::Image frame = loadPicture("swc" + std::to_string(i) + ".png");
        ASSERT_EQ(frame.getSize(), sf::Vector2u(64, 64));
        for (unsigned y = 0; y < 64; ++y) {
            for (unsigned x = 0; x < 64; ++x) {
                const sf::Color c = frame.getPixel(x, y);
                if (c.a == 0) {
                    continue;
                }
                EXPECT_GE(std::min({c.r, c.g, c.b}), 230) << x << "," << y;
                EXPECT_LE(std::abs(x + 0.5 - 32) + std::abs(y + 0.5 - 32), 32.0) << x << "," << y;
            }
        }
        frames.push_back(frame);
    }
    for (size_t i = 1; i < frames.size(); ++i) {
        EXPECT_NE(std::memcmp(frames[i].getPixelsPtr(), frames[i - 1].getPixelsPtr(), 64 * 64 * 4),
                  0)
            << "frames " << i << " and " << i + 1 << " are the same";
    }
}
