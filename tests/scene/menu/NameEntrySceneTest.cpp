#include <gtest/gtest.h>

#include <chrono>

#include "MenuSceneSupport.hpp"
#include "menu/NameEntryScreen.hpp"

using Key = sf::Keyboard;

// Keys are taken 0.2 s after the screen opens (frame 13 at 60 per second).
constexpr std::uint64_t firstKeyFrame = 15;

// Return on an empty name turns online scores off without a request. A server
// that takes the connection and never answers costs the client's time-out,
// with the wait message up, then the warning; "Use current name" keeps
// online scores on. Against a server that is down, "Change name" goes back to
// typing and "Disable online highscores" turns them off. What each key does
// to the name is the name editor's unit test; here the keys reach it only
// after the first 0.2 s, and closing writes nothing.
TEST(NameEntryScene, AnEmptyNameAHungServerTheWarningsChoicesAndClosing) {
    REQUIRE_DISPLAY();
    SilentServer server;
    ScriptedGame game(settingsText({{"nameentered", "1"}, {"highscoreserver", server.address()}}));
    NameEntryScreen empty(game.window(), nullptr, true);
    FrameLog<int> states(game, [&] { return empty.state(); });
    // Backspace on the empty buffer changes nothing.
    game.keyAt(firstKeyFrame, Key::Backspace);
    game.keyAt(firstKeyFrame + 4, Key::Return);
    // A key during the fade-out must not start a check after all.
    game.keyAt(firstKeyFrame + 40, Key::X);
    game.keyAt(firstKeyFrame + 50, Key::Return);
    auto start = std::chrono::steady_clock::now();
    empty.run();
    const auto secondsSince = [](std::chrono::steady_clock::time_point from) {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
    };
    EXPECT_LT(secondsSince(start), 3.0) << "no request went to the (silent) server";
    EXPECT_TRUE(game.window().isOpen());
    EXPECT_EQ(states.first([](int s) { return s != NameEntryScreen::typing; }), -1);
    // The fade-out of 1 s ran before the screen ended.
    const std::uint64_t opened = game.window().frameNumber();
    EXPECT_NEAR(static_cast<double>(opened), firstKeyFrame + 4 + 61, 2);
    const std::string saved = game.savedSettingsFile();
    EXPECT_NE(saved.find("username\t\n"), std::string::npos);
    EXPECT_NE(saved.find("submitscores\t0\n"), std::string::npos);

    NameEntryScreen entry(game.window(), nullptr, false);
    sf::Image checkingFrame;
    sf::Image warningFrame;
    game.when([&](GameWindow&) { return entry.state() == NameEntryScreen::checking; },
              [&](GameWindow& window) { checkingFrame = window.capture(); });
    game.when([&](GameWindow&) { return entry.state() == NameEntryScreen::warning; },
              [&](GameWindow& window) {
                  warningFrame = window.capture();
                  window.queueEvent(GameWindow::keyEvent(Key::Down, true));
                  window.queueEvent(GameWindow::keyEvent(Key::Return, true));
              });
    // After the fade-in, so the wait message shows at full brightness; Escape
    // checks a name like Return.
    game.tapKeys(opened + 60, {Key::R, Key::O, Key::L, Key::L, Key::Escape});
    start = std::chrono::steady_clock::now();
    entry.run();
    const double hung = secondsSince(start);
    EXPECT_EQ(entry.lastCheck(), NameCheckOutcome::unchecked);
    EXPECT_GT(hung, 4.0);
    EXPECT_LT(hung, 8.0);
    EXPECT_GT(countPixels(checkingFrame, {300, 512, 680, 40}, isWhitish), 100)
        << "\"Checking name, please wait...\"";
    EXPECT_GT(countPixels(warningFrame, {400, 100, 480, 56}, isReddish), 50) << "the red WARNING";
    EXPECT_EQ(game.settings().getString("username"), "roll");
    EXPECT_EQ(game.settings().getInt("submitscores", -1), 1);

    game.settings().setString("highscoreserver", refusingAddress());
    NameEntryScreen warned(game.window(), nullptr, false);
    FrameLog<int> warnedStates(game, [&] { return warned.state(); });
    int warnings = 0;
    std::string nameBackInTyping;
    // The first warning takes "Change name": one more letter, checked again.
    // The second takes "Disable online highscores" after Down three times.
    game.everyFrame([&](GameWindow& window) {
        const std::uint64_t frame = window.frameNumber();
        if (!warnedStates.has(frame - 1) || warnedStates.at(frame - 1) == warned.state()) {
            return;
        }
        if (warned.state() == NameEntryScreen::typing &&
            warnedStates.at(frame - 1) == NameEntryScreen::warning) {
            nameBackInTyping = warned.name();
            window.queueEventAt(frame + 3, GameWindow::keyEvent(Key::S, true));
            window.queueEventAt(frame + 6, GameWindow::keyEvent(Key::Return, true));
        }
        if (warned.state() != NameEntryScreen::warning) {
            return;
        }
        const std::uint64_t downs = ++warnings == 1 ? 0 : 3;
        for (std::uint64_t i = 0; i < downs; ++i) {
            window.queueEventAt(frame + 5 + 2 * i, GameWindow::keyEvent(Key::Down, true));
        }
        window.queueEventAt(frame + 5 + 2 * downs, GameWindow::keyEvent(Key::Return, true));
    });
    game.keyAt(game.window().frameNumber() + firstKeyFrame, Key::Return);
    warned.run();

    EXPECT_EQ(warnings, 2);
    EXPECT_EQ(nameBackInTyping, "roll");
    EXPECT_EQ(warned.choice(), NameEntryScreen::disableOnline) << "Down stops at the last choice";
    // The name sent in the last check stays; online highscores are off.
    EXPECT_EQ(game.settings().getString("username"), "rolls");
    EXPECT_EQ(game.settings().getInt("submitscores", -1), 0);

    NameEntryScreen typed(game.window(), nullptr, false);
    const std::uint64_t typedAt = game.window().frameNumber();
    FrameLog<std::string> names(game, [&] { return typed.name(); });
    game.keyAt(typedAt + 3, Key::Q);
    game.keyAt(typedAt + firstKeyFrame, Key::A, true, true);
    game.tapKeys(typedAt + firstKeyFrame + 2, {Key::B, Key::Num1});
    game.closeAt(typedAt + firstKeyFrame + 20);
    typed.run();
    EXPECT_EQ(names.at(typedAt + firstKeyFrame - 1), "rolls");
    EXPECT_EQ(typed.name(), "rollsAb1");
    // On a window already closed it ends at once.
    const std::uint64_t closedAt = game.window().frameNumber();
    NameEntryScreen again(game.window(), nullptr, true);
    again.run();
    EXPECT_EQ(game.window().frameNumber(), closedAt);
    EXPECT_EQ(game.settings().getString("username"), "rolls");
    EXPECT_EQ(game.settings().getInt("submitscores", -1), 0);
}
