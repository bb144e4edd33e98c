#include <gtest/gtest.h>

#include "MenuSceneSupport.hpp"
#include "app/platform/ProgramObjects.hpp"
#include "menu/MainMenu.hpp"

using Key = sf::Keyboard;

// What the name entry itself does with a name is its own scene test's business;
// here only when it comes.
TEST(FirstStartScene, OnlyAFirstStartOpensTheNameEntryBeforeTheMenu) {
    REQUIRE_DISPLAY();
    for (const char* entered : {"0", "1"}) {
        SCOPED_TRACE(entered);
        ScriptedGame game(
            settingsText({{"highscoreserver", refusingAddress()}, {"nameentered", entered}}));
        MainMenu menu(game.window());
        FrameLog<bool> menuReady(game, [&] { return menu.acceptsInput(); });
        sf::Image early;
        game.when([](GameWindow& window) { return window.frameNumber() == 60; },
                  [&](GameWindow& window) { early = window.capture(); });
        // Return on the empty name declines online highscores; then out.
        game.keyAt(70, Key::Return);
        game.when([&](GameWindow&) { return menu.acceptsInput(); },
                  [&](GameWindow& window) { window.queueEvent(GameWindow::closedEvent()); });
        menu.run();

        const bool firstStart = std::string(entered) == "0";
        EXPECT_EQ(countPixels(early, {300, 100, 680, 32}, isGreenish) > 100, firstStart)
            << "the greeting of the name entry";
        // After a name entry the menu's fade starts only once the entry's 1 s
        // fade-out is over.
        const long long ready = menuReady.first([](bool r) { return r; });
        EXPECT_TRUE(firstStart ? ready > 70 + 60 : ready <= 14) << ready;
        EXPECT_EQ(game.settings().getInt("nameentered", 0), 1);
    }
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
