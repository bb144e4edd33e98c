#include <gtest/gtest.h>

#include "MenuSceneSupport.hpp"
#include "app/ProgramObjects.hpp"
#include "menu/MainMenu.hpp"

using Key = sf::Keyboard;

namespace {

// The greeting of a first start, green at the top of the name entry.
int greetingPixels(const sf::Image& frame) {
    return countPixels(frame, {300, 100, 680, 32}, isGreenish);
}

}  // namespace

TEST(FirstStartScene, NameEntryComesFirstAndOnlyOnce) {
    REQUIRE_DISPLAY();
    std::string savedFile;
    {
        ScriptedGame game(settingsText({{"highscoreserver", refusingAddress()}}));
        MainMenu menu(game.window());
        FrameLog<bool> menuReady(game, [&] { return menu.acceptsInput(); });
        sf::Image early;
        // Seen once the name entry's fade-in is over.
        game.when([](GameWindow& window) { return window.frameNumber() == 60; },
                  [&](GameWindow& window) { early = window.capture(); });
        // Decline online highscores with Return on the empty name.
        game.keyAt(70, Key::Return);
        // Once the main menu takes keys: to "Exit" and out.
        game.when([&](GameWindow&) { return menu.acceptsInput(); },
                  [&](GameWindow& window) {
                      window.queueEvent(GameWindow::keyEvent(Key::Escape, true));
                      window.queueEvent(GameWindow::keyEvent(Key::Return, true));
                  });
        menu.run();

        EXPECT_GT(greetingPixels(early), 100) << "the name entry greets first";
        // The menu's own fade only starts after the name entry's 1 s fade-out.
        EXPECT_GT(menuReady.first([](bool ready) { return ready; }), 70 + 60);
        savedFile = game.savedSettingsFile();
        EXPECT_NE(savedFile.find("nameentered\t1\n"), std::string::npos);
        EXPECT_NE(savedFile.find("username\t\n"), std::string::npos);
        EXPECT_NE(savedFile.find("submitscores\t0\n"), std::string::npos);
    }
    ScriptedGame again(savedFile);
    MainMenu menu(again.window());
    FrameLog<bool> menuReady(again, [&] { return menu.acceptsInput(); });
    sf::Image early;
    again.when([](GameWindow& window) { return window.frameNumber() == 60; },
               [&](GameWindow& window) {
                   early = window.capture();
                   window.queueEvent(GameWindow::closedEvent());
               });
    menu.run();
    EXPECT_EQ(greetingPixels(early), 0);
    EXPECT_LE(menuReady.first([](bool ready) { return ready; }), 14);
    // Nothing changed at the second start (an empty value is not read back,
    // so both files are compared as the game reads them).
    Settings first;
    first.parse(savedFile);
    Settings second;
    second.parse(again.savedSettingsFile());
    EXPECT_EQ(first.all(), second.all());
}

TEST(FirstStartScene, AWindowClosedDuringTheIntroStillCountsTheFirstStart) {
    REQUIRE_DISPLAY();
    ScriptedGame game(settingsText({{"highscoreserver", refusingAddress()}}));
    MainMenu menu(game.window());
    game.window().close();
    menu.run();
    EXPECT_EQ(game.window().frameNumber(), 0u);
    EXPECT_EQ(game.settings().getInt("nameentered", 0), 1);
    EXPECT_FALSE(game.settings().contains("username"));
}

TEST(MainMenuScene, KeysWaitForTheFadeEscapePointsAtExitAndReturnLeavesAfterTheFade) {
    REQUIRE_DISPLAY();
    ScriptedGame game(settingsText({{"nameentered", "1"}, {"musicvolume", "3"}}));
    MainMenu menu(game.window());
    FrameLog<int> selected(game, [&] { return menu.selectedItem(); });
    FrameLog<bool> open(game, [&] { return game.window().isOpen(); });
    // 0.1 s in: too early. 0.25 s in: taken.
    game.keyAt(6, Key::Down);
    game.keyAt(15, Key::Down);
    game.keyAt(20, Key::Down);
    game.keyAt(25, Key::Up);
    game.keyAt(30, Key::Escape);
    game.keyAt(40, Key::Return);
    menu.run();

    EXPECT_EQ(selected.at(10), 0);
    EXPECT_EQ(selected.at(16), 1);
    EXPECT_EQ(selected.at(21), 2);
    EXPECT_EQ(selected.at(26), 1);
    EXPECT_EQ(selected.at(31), MainMenu::exitItem) << "Escape only points at Exit";
    EXPECT_TRUE(open.at(95));
    EXPECT_FALSE(game.window().isOpen());
    // The 1 s fade-out ran to its end before the window closed.
    EXPECT_NEAR(static_cast<double>(game.window().frameNumber()), 40 + 60, 2);
    EXPECT_FLOAT_EQ(menuMusic().volume, 3.0f / 9.0f);
    EXPECT_FLOAT_EQ(gameMusic().volume, 3.0f / 9.0f);
    EXPECT_EQ(menuMusic().songCount(), 1u);
    EXPECT_EQ(gameMusic().songCount(), 3u);
}

TEST(MainMenuScene, CloudsStopAtOnceWhenTheOptionsTurnThemOff) {
    REQUIRE_DISPLAY();
    ScriptedGame game(settingsText({{"nameentered", "1"}}));
    MainMenu menu(game.window());
    FrameLog<bool> clouds(game, [&] { return menu.drawsClouds(); });
    FrameLog<std::size_t> cloudCount(game, [&] { return menu.cloudBackdrop().live().size(); });
    // "Options", then in the options down to "Draw Clouds", Left, Escape.
    game.keyAt(20, Key::Down);
    game.keyAt(24, Key::Down);
    game.keyAt(28, Key::Return);
    std::uint64_t frame = game.tapKeys(28 + 61 + 55, std::vector<Key::Key>(10, Key::Down), 3);
    game.keyAt(frame, Key::Left);
    game.keyAt(frame + 4, Key::Escape);
    // Back in the main menu after the options' fade-out.
    game.closeAt(frame + 4 + 61 + 30);
    menu.run();

    EXPECT_TRUE(clouds.at(20));
    EXPECT_FALSE(clouds.at(frame + 4 + 61 + 10));
    EXPECT_EQ(game.settings().getInt("drawclouds", -1), 0);
    // Not drawn means not moved: the field is frozen as the options left it.
    EXPECT_EQ(cloudCount.at(frame + 4 + 61 + 10), cloudCount.at(frame + 4 + 61 + 25));
    EXPECT_GT(cloudCount.at(frame), 0u) << "the clouds drifted on inside the options";
}

TEST(MainMenuScene, AGameReturnsToTheMainMenu) {
    REQUIRE_DISPLAY();
    ScriptedGame game(settingsText({{"nameentered", "1"}, {"submitscores", "0"}}), 1.0f / 60.0f,
                      3000);
    MainMenu menu(game.window());
    FrameLog<bool> ready(game, [&] { return menu.acceptsInput(); });
    // "Race"; in the level selection (from about frame 81) "Play single level".
    game.keyAt(20, Key::Return);
    game.tapKeys(110, {Key::Down, Key::Return}, 5);
    // The game from about frame 176: pause, "Exit".
    game.keyAt(400, Key::Escape);
    game.tapKeys(420, {Key::Down, Key::Down, Key::Down, Key::Return}, 6);
    std::uint64_t backAt = 0;
    game.when([&](GameWindow& window) { return window.frameNumber() > 450 && menu.acceptsInput(); },
              [&](GameWindow& window) {
                  backAt = window.frameNumber();
                  window.queueEvent(GameWindow::closedEvent());
              });
    menu.run();

    EXPECT_FALSE(ready.at(300)) << "the menu waited while the game ran";
    EXPECT_GT(backAt, 450u);
    EXPECT_EQ(menu.selectedItem(), MainMenu::raceItem);
    EXPECT_EQ(game.settings().getInt("startlevel_1", -5), 0);
}
