// The ball's body, eyes and mouths are drawn on one centre; so are the title
// mascot's parts. They only form a face if they share a canvas and the
// features stay on the head.
#include <gtest/gtest.h>

#include <cmath>

#include "PictureHelpers.hpp"

namespace {

// Every visible pixel of `part` lies within `radius` of the canvas centre.
void expectInsideHead(const std::string& name, double radius) {
    SCOPED_TRACE(name);
    const sf::Image part = loadPicture(name);
    const sf::Vector2u size = part.getSize();
    ASSERT_GT(size.x, 0u);
    const double cx = size.x / 2.0, cy = size.y / 2.0;
    for (unsigned y = 0; y < size.y; ++y) {
        for (unsigned x = 0; x < size.x; ++x) {
            if (alphaAt(part, x, y) > 0) {
                ASSERT_LE(std::hypot(x + 0.5 - cx, y + 0.5 - cy), radius) << x << "," << y;
            }
        }
    }
}

std::vector<std::string> faceParts(const std::string& folder, bool mascot) {
    std::vector<std::string> parts;
    for (int i = 1; i <= 9; ++i) {
        parts.push_back(folder + "eyel" + std::to_string(i) + ".png");
        parts.push_back(folder + "eyer" + std::to_string(i) + ".png");
    }
    if (mascot) {
        parts.push_back(folder + "mouth.png");
    } else {
        for (int i = 1; i <= 6; ++i) {
            parts.push_back("mouth" + std::to_string(i) + ".png");
        }
        parts.push_back("mouthgrin.png");
    }
    return parts;
}

// Eye white (light pixels) of blink frame 1..9 of one side.
std::vector<int> eyeWhites(const std::string& prefix) {
    std::vector<int> area;
    for (int i = 1; i <= 9; ++i) {
        area.push_back(lightPixels(loadPicture(prefix + std::to_string(i) + ".png")));
    }
    return area;
}

}  // namespace

TEST(FacePictures, BallPartsShareOneCanvasAndStayOnTheBall) {
    for (const char* colour : {"blue", "cyan", "green", "purple", "red", "yellow"}) {
        const std::string name = std::string("body") + colour + ".png";
        SCOPED_TRACE(name);
        const sf::Image body = loadPicture(name);
        ASSERT_EQ(body.getSize(), sf::Vector2u(64, 64));
        // Diameter 60 like the ball's body, centred where the sprite's origin is.
        const Visible v = visiblePixels(body, 127);
        EXPECT_NEAR(v.right - v.left + 1, 60, 1);
        EXPECT_NEAR(v.bottom - v.top + 1, 60, 1);
        EXPECT_NEAR((v.left + v.right + 1) / 2.0, 32, 0.5);
        EXPECT_NEAR((v.top + v.bottom + 1) / 2.0, 32, 0.5);
    }
    for (const std::string& part : faceParts("", false)) {
        EXPECT_EQ(loadPicture(part).getSize(), sf::Vector2u(64, 64)) << part;
        // Features keep clear of the body's dark outline.
        expectInsideHead(part, 28);
    }
    EXPECT_EQ(loadPicture("player.png").getSize(), sf::Vector2u(64, 64));
}

TEST(FacePictures, MascotPartsShareOneCanvasOfAboutTwoHundredFortyPixels) {
    const sf::Image body = loadPicture("bighead/bodyred.png");
    const sf::Vector2u size = body.getSize();
    EXPECT_EQ(size.x, size.y);
    EXPECT_GE(size.x, 220u);
    EXPECT_LE(size.x, 260u);
    const Visible head = visiblePixels(body, 127);
    const double radius = (head.right - head.left + 1) / 2.0;
    EXPECT_GT(radius, size.x * 0.4);
    for (const std::string& part : faceParts("bighead/", true)) {
        EXPECT_EQ(loadPicture(part).getSize(), size) << part;
        expectInsideHead(part, radius - 4);
    }
}

TEST(FacePictures, BlinkFramesCloseFromFirstToLast) {
    for (const std::string prefix : {"eyel", "eyer", "bighead/eyel", "bighead/eyer"}) {
        SCOPED_TRACE(prefix);
        const std::vector<int> white = eyeWhites(prefix);
        EXPECT_GT(white.front(), 0);
        EXPECT_EQ(white.back(), 0) << "the last frame is a shut eye";
        for (size_t i = 1; i < white.size(); ++i) {
            EXPECT_LE(white[i], white[i - 1]) << "frame " << i + 1;
        }
        EXPECT_LT(white[4], white[0] * 3 / 4) << "half way the eye is clearly closing";
    }
}

TEST(FacePictures, LeftAndRightEyesSitOnTheirSides) {
    for (const std::string folder : {"", "bighead/"}) {
        const sf::Image left = loadPicture(folder + "eyel1.png");
        const sf::Image right = loadPicture(folder + "eyer1.png");
        const double middle = left.getSize().x / 2.0;
        EXPECT_LT(visiblePixels(left).right, middle) << folder;
        EXPECT_GT(visiblePixels(right).left, middle) << folder;
    }
}

TEST(FacePictures, ExpressionsDifferFromEachOther) {
    std::vector<sf::Image> mouths;
    for (int i = 1; i <= 6; ++i) {
        mouths.push_back(loadPicture("mouth" + std::to_string(i) + ".png"));
    }
    mouths.push_back(loadPicture("mouthgrin.png"));
    for (size_t a = 0; a < mouths.size(); ++a) {
        for (size_t b = a + 1; b < mouths.size(); ++b) {
            int differing = 0;
            for (unsigned y = 0; y < 64; ++y) {
                for (unsigned x = 0; x < 64; ++x) {
                    differing +=
                        (alphaAt(mouths[a], x, y) > 127) != (alphaAt(mouths[b], x, y) > 127);
                }
            }
            EXPECT_GT(differing, 30) << "mouths " << a + 1 << " and " << b + 1;
        }
    }
}
