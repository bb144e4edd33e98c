#include <gtest/gtest.h>

#include "MenuSceneSupport.hpp"
#include "PlayDriver.hpp"
#include "app/platform/ProgramObjects.hpp"
#include "menu/ControlsScreen.hpp"
#include "menu/MainMenu.hpp"
#include "menu/OptionsScreen.hpp"

using Key = sf::Keyboard;
using Pad = sf::Joystick;

// Keys are taken once the 0.8 s fade-in is over (frame 48 at 60 per second).
constexpr std::uint64_t firstKeyFrame = 50;

TEST(ControlsScene, RebindingTurnLeftRefusesAClashAndTheNewKeyTurnsInPlay) {
    REQUIRE_DISPLAY();
    ScriptedGame game(settingsText({{"submitscores", "0"}}));
    {
        ControlsScreen controls(game.window(), nullptr, false);
        // Read while the screen lasts, not in the play that follows it.
        std::map<std::uint64_t, std::string> notes;
        game.everyFrame([&](GameWindow& window) {
            if (window.frameNumber() <= 71) {
                notes[window.frameNumber()] =
                    controls.lineText(0) + " | " + controls.lines().message();
            }
        });
        // Turn Left: Space (Jump's), then A; Turn Right: Escape cancels.
        game.tapKeys(
            firstKeyFrame,
            {Key::Return, Key::Space, Key::A, Key::Down, Key::Return, Key::Escape, Key::Escape}, 4);
        controls.run();
        EXPECT_EQ(notes.at(51),
                  "Turn Left: press a key | Press the new key for Turn Left (Escape cancels)");
        EXPECT_EQ(notes.at(55),
                  "Turn Left: press a key | Space is already used by Jump, try another key");
        EXPECT_EQ(notes.at(59), "Turn Left: A | Turn Left is now A");
        EXPECT_EQ(notes.at(71), "Turn Left: A | Turn Right keeps Right");
    }
    EXPECT_EQ(game.settings().getString("key_turnleft"), "A");
    EXPECT_EQ(game.settings().getString("key_jump"), "Space Return");

    PlayScreen screen(game.window(), raceMode, corridorAs(corridorId), 0, true);
    float angle = 0.0f;
    game.when([&](GameWindow&) { return !screen.simulation().play().countdownRunning; },
              [&](GameWindow& window) {
                  window.queueEventAt(window.frameNumber() + 1, GameWindow::keyEvent(Key::A, true));
                  window.queueEventAt(window.frameNumber() + 31, GameWindow::closedEvent());
              });
    game.everyFrame([&](GameWindow&) { angle = screen.simulation().viewAngle(); });
    screen.run();
    EXPECT_NEAR(angle, 280.0f * 30.0f / 60.0f, 0.1f) << "A turns left";
}

// Down twice by the d-pad (the second by holding it), down, up and down
// again by the stick, then button 0 opens the options and, once the keys have
// turned the clouds off there, button 1 leaves them: the clouds stop at once.
TEST(ControlsScene, APadAloneWalksTheMenusAndTheCloudsStopWhenTheOptionsTurnThemOff) {
    REQUIRE_DISPLAY();
    ScriptedGame game(settingsText({{"nameentered", "1"}}));
    MainMenu menu(game.window());
    // The selected item, and whether the menu takes keys.
    FrameLog<std::pair<int, bool>> seen(game, [&] {
        return std::pair{menu.selectedItem(), menu.acceptsInput()};
    });
    FrameLog<bool> clouds(game, [&] { return menu.drawsClouds(); });
    const std::pair<std::uint64_t, sf::Event> steps[] = {
        {40, GameWindow::padMoveEvent(0, Pad::PovY, 100.0f)},  // held 0.45 s: one repeat
        {67, GameWindow::padMoveEvent(0, Pad::PovY, 0.0f)},
        {75, GameWindow::padMoveEvent(0, Pad::Y, 90.0f)},
        {77, GameWindow::padMoveEvent(0, Pad::Y, 5.0f)},
        {80, GameWindow::padMoveEvent(0, Pad::Y, -90.0f)},
        {82, GameWindow::padMoveEvent(0, Pad::Y, 0.0f)},
        {86, GameWindow::padMoveEvent(0, Pad::Y, 90.0f)},
        {88, GameWindow::padMoveEvent(0, Pad::Y, 0.0f)},
        {90, GameWindow::padButtonEvent(0, 0, true)},
        {91, GameWindow::padButtonEvent(0, 0, false)},
        {300, GameWindow::padButtonEvent(0, 1, true)},
        {401, GameWindow::closedEvent()},
    };
    for (const auto& [frame, event] : steps) {
        game.window().queueEventAt(frame, event);
    }
    // In the options, after their fade-in: down to "Draw Clouds", Left.
    game.keyAt(game.tapKeys(210, std::vector<Key::Key>(10, Key::Down), 3), Key::Left);
    menu.run();

    const std::map<std::uint64_t, std::pair<int, bool>> expected{
        {41, {1, true}}, {60, {1, true}}, {69, {2, true}},   {78, {3, true}},
        {85, {2, true}}, {89, {3, true}}, {200, {3, false}}, {400, {3, true}}};
    for (const auto& [frame, item] : expected) {
        EXPECT_EQ(seen.at(frame), item) << frame;
    }
    EXPECT_TRUE(clouds.at(20));
    EXPECT_FALSE(clouds.at(300 + 61 + 10));
    EXPECT_EQ(game.settings().getInt("drawclouds", -1), 0) << "leaving the options saved them";
}

TEST(ControlsScene, F11AndAltReturnSwitchTheWholeScreenAndTheOptionsFollow) {
    REQUIRE_DISPLAY();
    ScriptedGame game(settingsText({{"fullscreen", "0"}}));
    OptionsScreen options(game.window(), nullptr);
    FrameLog<std::string> seen(game, [&] {
        return options.lineText(fullscreenLine) +
               (game.window().fullscreen() ? " full " : " window ") +
               std::to_string(game.settings().getInt("fullscreen", -1));
    });
    game.keyAt(firstKeyFrame, Key::F11);
    sf::Event altReturn = GameWindow::keyEvent(Key::Enter, true);
    altReturn.key.alt = true;
    game.window().queueEventAt(60, altReturn);
    game.keyAt(70, Key::F11);
    game.keyAt(80, Key::Escape);
    options.run();

    EXPECT_EQ(seen.at(52), "< Fullscreen: Yes > full 1");
    EXPECT_EQ(seen.at(62), "< Fullscreen: No > window 0");
    EXPECT_EQ(seen.at(72), "< Fullscreen: Yes > full 1");
    EXPECT_EQ(options.selectedLine(), 0) << "Return with Alt was no menu key";
    EXPECT_EQ(game.settings().getInt("fullscreen", -1), 1) << "leaving kept the switch";
}
