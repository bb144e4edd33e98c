// Text pictures and logos must fit where the game places them on its
// 1280 x 1024 logical screen.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include <SFML/Graphics/Font.hpp>

#include "PictureHelpers.hpp"

namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;

sf::Vector2u sizeOf(const std::string& name) {
    return loadPicture(name).getSize();
}

sf::Vector2u glyphSize(char ch) {
    return sizeOf(ch == ':'   ? "scorefont/colon.png"
                  : ch == '.' ? "scorefont/dot.png"
                              : std::string("scorefont/") + ch + ".png");
}

int glyphWidth(char ch) {
    return static_cast<int>(glyphSize(ch).x);
}

}  // namespace

TEST(ScreenPictures, IntroLogoIsExactly512SquareAndOpaque) {
    const sf::Image logo = loadPicture("3DLogo512Final.png");
    ASSERT_EQ(logo.getSize(), sf::Vector2u(512, 512));
    // The intro does not clear the window, so every pixel must cover it.
    EXPECT_EQ(visiblePixels(logo, 254).count, 512 * 512);
}

TEST(ScreenPictures, TitleLogoFitsBetweenTheMascotsAboveTheMenu) {
    const sf::Vector2u logo = sizeOf("rvlogo.png");
    const sf::Vector2u mascot = sizeOf("bighead/bodyred.png");
    ASSERT_GT(logo.x, 0u);
    // Logo centred at (650, 170); mascots centred at (135, 135) and (1145, 135).
    const double logoLeft = 650 - logo.x / 2.0, logoRight = 650 + logo.x / 2.0;
    EXPECT_GE(logoLeft, 135 + mascot.x / 2.0);
    EXPECT_LE(logoRight, 1145 - mascot.x / 2.0);
    EXPECT_LE(170 + logo.y / 2.0, 330);
    EXPECT_GE(170 - logo.y / 2.0, 0);
    // And it is a real title, not a thumbnail.
    EXPECT_GE(logo.x, 500u);
}

TEST(ScreenPictures, ScoreDigitsShareAHeightAndTakeTheirOwnWidths) {
    const unsigned height = glyphSize('0').y;
    for (char ch : std::string("0123456789:.")) {
        EXPECT_EQ(glyphSize(ch).y, height) << ch;
    }
    EXPECT_LT(glyphWidth('1'), glyphWidth('8'));
    EXPECT_LT(glyphWidth('.'), glyphWidth('1'));
    EXPECT_LT(glyphWidth(':'), glyphWidth('1'));
    // Centred on y = 984, the digits stay on the screen.
    EXPECT_LE(984 + height / 2.0, kScreenHeight);
    EXPECT_GE(height, 32u);
}

TEST(ScreenPictures, TimeLabelEndsBeforeTheDigitsAndSharesTheirCentreLine) {
    const sf::Image label = loadPicture("time.png");
    ASSERT_GT(label.getSize().x, 0u);
    // Top-left corner at (10, 960); digits start at x = 180, centred on y = 984.
    EXPECT_LT(10 + label.getSize().x, 180u);
    const Visible ink = visiblePixels(label, 127);
    EXPECT_NEAR(960 + (ink.top + ink.bottom) / 2.0, 984, 3);
    EXPECT_LE(960 + label.getSize().y, static_cast<unsigned>(kScreenHeight));
}

TEST(ScreenPictures, PersonalBestBadgeLeavesRoomForALongRaceTime) {
    const sf::Vector2u badge = sizeOf("personalbest.png");
    ASSERT_GT(badge.x, 0u);
    // Centred on (640, 960), next to a clock showing up to 99:59.999 from x = 180.
    int clockRight = 180;
    for (char ch : std::string("99:59.999")) {
        clockRight += glyphWidth(ch);
    }
    EXPECT_LT(clockRight, 640 - badge.x / 2.0);
    EXPECT_LE(960 + badge.y / 2.0, kScreenHeight);
}

TEST(ScreenPictures, FinishLettersFitOneRowAndShareABaseline) {
    int total = 0;
    const unsigned height = sizeOf("finished/f.png").y;
    for (const char* letter : {"f", "i1", "n", "i2", "s", "h", "e", "d"}) {
        const sf::Vector2u size = sizeOf(std::string("finished/") + letter + ".png");
        EXPECT_EQ(size.y, height) << letter;
        total += static_cast<int>(size.x);
    }
    EXPECT_LE(total, kScreenWidth - 80);
    EXPECT_GE(total, kScreenWidth / 2);
    // Letters stand on y = 300 and wave by up to 93 pixels: still on screen.
    EXPECT_LE(300 + 93 + height, static_cast<unsigned>(kScreenHeight));
    // The two I pictures are the same letter, so they must be the same width.
    EXPECT_EQ(sizeOf("finished/i1.png").x, sizeOf("finished/i2.png").x);
}

TEST(ScreenPictures, CountdownNumbersAreLargeAndStayOnScreen) {
    for (int n = 1; n <= 3; ++n) {
        const sf::Vector2u size = sizeOf("countdown" + std::to_string(n) + ".png");
        SCOPED_TRACE(n);
        EXPECT_GE(size.y, 120u);
        // Centred on (640, 170.5).
        EXPECT_LE(size.y / 2.0, 170.0);
        EXPECT_LE(size.x, 600u);
    }
}

TEST(ScreenPictures, PenaltyBurstIsSquareSoItSpinsInPlace) {
    const sf::Image badge = loadPicture("3spenalty.png");
    ASSERT_GT(badge.getSize().x, 0u);
    EXPECT_EQ(badge.getSize().x, badge.getSize().y);
    // Round: nothing in the corners, which would wobble when turned.
    EXPECT_EQ(alphaAt(badge, 0, 0), 0);
    EXPECT_EQ(alphaAt(badge, badge.getSize().x - 1, badge.getSize().y - 1), 0);
}

// Colour bursts multiply the star by the burst colour, so it must be grey:
// any hue of its own would shift every burst colour.
TEST(EffectPictures, BurstStarIsNeutralSoItTakesTheBurstColour) {
    const sf::Image starImage = loadPicture("star.png");
    ASSERT_GT(starImage.getSize().x, 16u);
    int brightest = 0;
    for (unsigned y = 0; y < starImage.getSize().y; ++y) {
        for (unsigned x = 0; x < starImage.getSize().x; ++x) {
            const sf::Color c = starImage.getPixel(x, y);
            if (c.a == 0) {
                continue;
            }
            EXPECT_LE(std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}), 8);
            brightest = std::max<int>(brightest, c.r);
        }
    }
    EXPECT_GE(brightest, 250);
}

TEST(EffectPictures, CloudIsSoftAndFadesOutBeforeItsBorder) {
    const sf::Image cloud = loadPicture("lightsmoke.png");
    const sf::Vector2u size = cloud.getSize();
    ASSERT_GE(size.x, 64u);
    for (unsigned i = 0; i < size.x; ++i) {
        EXPECT_EQ(alphaAt(cloud, i, 0), 0);
        EXPECT_EQ(alphaAt(cloud, i, size.y - 1), 0);
    }
    for (unsigned i = 0; i < size.y; ++i) {
        EXPECT_EQ(alphaAt(cloud, 0, i), 0);
        EXPECT_EQ(alphaAt(cloud, size.x - 1, i), 0);
    }
    EXPECT_GE(alphaAt(cloud, size.x / 2, size.y / 2), 250);
    // A soft edge: a good share of the visible pixels are partly transparent.
    const int visible = visiblePixels(cloud).count;
    const int solid = visiblePixels(cloud, 254).count;
    EXPECT_GT(visible - solid, visible / 4);
}

TEST(DataFolder, FontAndLicenceAreBundled) {
    sf::Font font;
    EXPECT_TRUE(font.loadFromFile("data/font/VeraBd.ttf"));
    EXPECT_TRUE(std::filesystem::exists("data/font/LICENSE-Vera.txt"));
}

TEST(DataFolder, PicturesStayWellWithinTheDownloadBudget) {
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator("data/images")) {
        if (entry.is_regular_file()) {
            bytes += entry.file_size();
        }
    }
    EXPECT_LT(bytes, 5u * 1024 * 1024);
}
