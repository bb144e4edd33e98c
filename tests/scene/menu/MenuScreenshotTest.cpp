#include <gtest/gtest.h>

#include <filesystem>

#include "MenuSceneSupport.hpp"
#include "app/Files.hpp"
#include "app/ParticleEmitter.hpp"
#include "app/Random.hpp"
#include "menu/LevelSelectScreen.hpp"
#include "menu/MainMenu.hpp"
#include "menu/NameEntryScreen.hpp"
#include "menu/OptionsScreen.hpp"

using Key = sf::Keyboard;

// Full-size pictures of every menu screen for a person to look at, written to
// rollavortex-menu-shots in the temporary folder. Each test also checks that
// its picture shows the screen and not a black or empty frame.

namespace {

std::filesystem::path shotFolder() {
    const auto folder = std::filesystem::temp_directory_path() / "rollavortex-menu-shots";
    std::filesystem::create_directories(folder);
    return folder;
}

// The menus' cloud field after it has drifted for a while, as a sub-screen
// finds it when the main menu opens it.
struct DriftedClouds {
    DriftedClouds() {
        Random::seed(7);
        loadTexture(texture, "data/images/lightsmoke.png");
        configureCloudBackdrop(clouds, &texture);
        for (int frame = 0; frame < 600; ++frame) {
            clouds.update(1.0f / 60.0f);
        }
    }
    sf::Texture texture;
    ParticleEmitter clouds;
};

// Saves the frame shown at `frame` and closes the window after it.
void shootAt(ScriptedGame& game, std::uint64_t frame, const std::string& name, sf::Image& shot) {
    game.when([frame](GameWindow& window) { return window.frameNumber() == frame; },
              [&shot, name](GameWindow& window) {
                  shot = window.capture();
                  shot.saveToFile((shotFolder() / name).string());
                  window.queueEvent(GameWindow::closedEvent());
              });
}

// Share of the picture that is the sky colour, in percent.
int skyPercent(const sf::Image& image) {
    const int sky = countPixels(image, {0, 0, 1280, 1024}, [](sf::Color c) {
        return std::abs(c.r - 110) < 40 && std::abs(c.g - 144) < 40 && std::abs(c.b - 205) < 40;
    });
    return sky * 100 / static_cast<int>(image.getSize().x * image.getSize().y);
}

}  // namespace

TEST(MenuScreenshots, MainMenu) {
    REQUIRE_DISPLAY();
    ScriptedGame game(settingsText({{"nameentered", "1"}}));
    game.openAtLogicalSize();
    Random::seed(3);
    MainMenu menu(game.window());
    sf::Image shot;
    game.keyAt(300, Key::Down);
    shootAt(game, 420, "mainmenu.png", shot);
    menu.run();
    ASSERT_EQ(shot.getSize().x, 1280u);
    EXPECT_GT(skyPercent(shot), 30);
    EXPECT_GT(countPixels(shot, {500, 400, 280, 60}, isWhitish), 500) << "\"Race\"";
    EXPECT_GT(menu.cloudBackdrop().live().size(), 20u);
}

TEST(MenuScreenshots, LevelSelectionWithItsTable) {
    REQUIRE_DISPLAY();
    HighscoreServer server;
    const char* names[] = {"Quickfoot", "Marble Max", "tilt.er", "Orbit", "me",
                           "Spinner",   "Roll Call",  "Gyro",    "Wobble"};
    for (int i = 0; i < 9 && server.available(); ++i) {
        server.submit(names[i], 1, 250, 24.0f + 3.37f * static_cast<float>(i * i));
    }
    ScriptedGame game(settingsText(
        {{"nameentered", "1"}, {"username", "me"}, {"highscoreserver", server.address()}}));
    game.openAtLogicalSize();
    DriftedClouds clouds;
    LevelSelectScreen screen(game.window(), raceMode, &clouds.clouds);
    sf::Image shot;
    game.keyAt(30, Key::Down);
    game.keyAt(34, Key::Down);
    shootAt(game, 160, "levelselect.png", shot);
    screen.run();
    ASSERT_EQ(shot.getSize().x, 1280u);
    EXPECT_GT(skyPercent(shot), 20);
    EXPECT_EQ(screen.lineText(LevelSelectScreen::levelLine), "< 1 | The Labyrinth >");
    if (server.available()) {
        EXPECT_EQ(screen.rowTexts().size(), 9u);
    }
}

TEST(MenuScreenshots, Options) {
    REQUIRE_DISPLAY();
    ScriptedGame game(settingsText({{"nameentered", "1"},
                                    {"screenwidth", "1280"},
                                    {"screenheight", "1024"},
                                    {"fullscreen", "0"}}));
    game.openAtLogicalSize();
    DriftedClouds clouds;
    OptionsScreen options(game.window(), &clouds.clouds);
    sf::Image shot;
    game.tapKeys(50, {Key::Down, Key::Down, Key::Down}, 4);
    shootAt(game, 120, "options.png", shot);
    options.run();
    ASSERT_EQ(shot.getSize().x, 1280u);
    EXPECT_GT(skyPercent(shot), 30);
    EXPECT_GT(countPixels(shot, {300, 100, 680, 42}, isWhitish), 500) << "the resolution line";
}

TEST(MenuScreenshots, FirstStartNameEntryAndItsWarning) {
    REQUIRE_DISPLAY();
    ScriptedGame game(settingsText({{"highscoreserver", refusingAddress()}}));
    game.openAtLogicalSize();
    DriftedClouds clouds;
    NameEntryScreen entry(game.window(), &clouds.clouds, true);
    sf::Image typing;
    sf::Image warning;
    game.keyAt(50, Key::R, true, true);
    game.tapKeys(53, {Key::O, Key::L, Key::L, Key::E, Key::R}, 3);
    game.when([](GameWindow& window) { return window.frameNumber() == 90; },
              [&](GameWindow& window) {
                  typing = window.capture();
                  typing.saveToFile((shotFolder() / "nameentry.png").string());
                  window.queueEvent(GameWindow::keyEvent(Key::Return, true));
              });
    game.when([&](GameWindow&) { return entry.state() == NameEntryScreen::warning; },
              [&](GameWindow& window) {
                  window.queueEventAt(window.frameNumber() + 40,
                                      GameWindow::keyEvent(Key::Down, true));
              });
    game.when(
        [&](GameWindow&) {
            return entry.state() == NameEntryScreen::warning && entry.choice() == 1;
        },
        [&](GameWindow& window) {
            window.queueEventAt(window.frameNumber() + 10, GameWindow::closedEvent());
        });
    game.everyFrame([&](GameWindow& window) {
        if (entry.state() == NameEntryScreen::warning && entry.choice() == 1) {
            warning = window.capture();
        }
    });
    entry.run();
    ASSERT_EQ(typing.getSize().x, 1280u);
    ASSERT_EQ(warning.getSize().x, 1280u);
    warning.saveToFile((shotFolder() / "nameentry-warning.png").string());
    EXPECT_GT(countPixels(typing, {300, 100, 680, 32}, isGreenish), 200) << "the greeting";
    EXPECT_GT(countPixels(warning, {400, 100, 480, 56}, isReddish), 200) << "WARNING";
}
