#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "PlayDriver.hpp"

#define REQUIRE_DISPLAY() \
    if (!haveDisplay())   \
    GTEST_SKIP() << "no display"

// Pictures of the play screen for a person to look at: with the environment
// variable ROLLAVORTEX_SHOTS naming a folder, play.png, pause.png and
// finish.png are written there. Without it the pictures are only checked.

namespace {

constexpr const char* showcaseLevel = "tests/scene/game/levels/Showcase.tmx";

void keep(const sf::Image& picture, const char* name) {
    const char* folder = std::getenv("ROLLAVORTEX_SHOTS");
    if (folder != nullptr && *folder != '\0') {
        picture.saveToFile(std::string(folder) + "/" + name);
    }
}

// Mean of red, green and blue over a rectangle of the picture.
double brightness(const sf::Image& picture, unsigned left, unsigned top, unsigned width,
                  unsigned height) {
    double sum = 0.0;
    for (unsigned y = top; y < top + height; ++y) {
        for (unsigned x = left; x < left + width; ++x) {
            const sf::Color c = picture.getPixel(x, y);
            sum += (c.r + c.g + c.b) / 3.0;
        }
    }
    return sum / (width * height);
}

// Pixels of a horizontal band that are not the sky of the backdrop.
int notSky(const sf::Image& picture, unsigned top, unsigned bottom) {
    int count = 0;
    for (unsigned y = top; y < bottom; ++y) {
        for (unsigned x = 0; x < picture.getSize().x; ++x) {
            const sf::Color c = picture.getPixel(x, y);
            const bool sky =
                std::abs(c.r - 110) < 40 && std::abs(c.g - 144) < 40 && std::abs(c.b - 205) < 40;
            count += sky ? 0 : 1;
        }
    }
    return count;
}

}  // namespace

TEST(PlayScreenshots, ALevelInPlayAndThePauseMenu) {
    REQUIRE_DISPLAY();
    ScriptedGame game;
    game.openAtLogicalSize();
    LevelCatalogue catalogue;
    catalogue.addLevel(showcaseLevel, "Showcase", 9100);
    catalogue.loadThumbnails();
    PlayScreen screen(game.window(), raceMode, catalogue, 0, true);

    sf::Image inPlay;
    sf::Image lastPlay;
    sf::Image paused;
    game.when([&](GameWindow&) { return screen.simulation().raceClock() > 0.2f; },
              [&](GameWindow& window) {
                  window.queueEventAt(window.frameNumber() + 1,
                                      GameWindow::keyEvent(sf::Keyboard::Left, true));
              });
    game.when([&](GameWindow&) { return screen.simulation().viewAngle() > 35.0f; },
              [&](GameWindow& window) {
                  inPlay = window.capture();
                  window.queueEventAt(window.frameNumber() + 1,
                                      GameWindow::keyEvent(sf::Keyboard::Escape, true));
              });
    int pauseFrames = 0;
    game.everyFrame([&](GameWindow& window) {
        if (screen.currentState() == PlayScreen::playing) {
            // The last frame of play is the level frozen behind the menu.
            if (screen.simulation().viewAngle() > 30.0f) {
                lastPlay = window.capture();
            }
            return;
        }
        if (++pauseFrames == 40) {
            paused = window.capture();
            window.queueEventAt(window.frameNumber() + 1, GameWindow::closedEvent());
        }
    });
    screen.run();

    ASSERT_EQ(inPlay.getSize().x, 1280u);
    ASSERT_EQ(paused.getSize().x, 1280u);
    ASSERT_EQ(lastPlay.getSize().x, 1280u);
    keep(inPlay, "play.png");
    keep(paused, "pause.png");
    // The level fills part of the screen; the sky shows around it.
    const int level = notSky(inPlay, 0, 1024);
    EXPECT_GT(level, 1280 * 1024 / 10);
    EXPECT_LT(level, 1280 * 1024 * 9 / 10);
    // The panel darkens the frozen picture by half, between the items.
    const double under = brightness(lastPlay, 360, 362, 40, 28);
    const double panel = brightness(paused, 360, 362, 40, 28);
    EXPECT_LT(panel, under * 0.6 + 1.0);
    EXPECT_GT(panel, under * 0.4 - 1.0);
}

TEST(PlayScreenshots, TheFinishBanner) {
    REQUIRE_DISPLAY();
    ScriptedGame game;
    game.openAtLogicalSize();
    game.settings().setInt("submitscores", 0);
    PlayScreen screen(game.window(), raceMode, corridorCatalogue(), 0, true);
    CorridorDriver driver(game, screen);
    sf::Image beforeFinish;
    sf::Image banner;
    game.everyFrame([&](GameWindow& window) {
        const LevelSimulation& sim = screen.simulation();
        if (!sim.finished()) {
            if (!sim.play().countdownRunning && beforeFinish.getSize().x == 0) {
                beforeFinish = window.capture();
            }
            return;
        }
        if (!sim.finished() || banner.getSize().x > 0) {
            return;
        }
        driver.enabled = false;  // let the letters settle before going on
        if (screen.bannerWave().amplitude <= BannerWave::restingAmplitude) {
            banner = window.capture();
            driver.enabled = true;
        }
    });
    screen.run();
    ASSERT_EQ(banner.getSize().x, 1280u);
    keep(banner, "finish.png");
    // The letters stand in the sky above the corridor.
    EXPECT_GT(notSky(banner, 150, 420), notSky(beforeFinish, 150, 420) + 5000);
}
