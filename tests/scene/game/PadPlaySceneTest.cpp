#include <gtest/gtest.h>

#include <map>

#include "PlayDriver.hpp"

using Pad = sf::Joystick;

namespace {

struct Step {
    int afterHorn;  // frames
    sf::Event event;
};

struct Seen {
    float angle = 0.0f;
    float clock = 0.0f;  // race seconds: the frames' simulation time, in whole ticks
    int state = PlayScreen::playing;
    int pauseItem = 0;
    bool jumping = false;  // a jump asked for, or just made
};

// Runs a corridor with these events sent after the horn; what the screen
// showed in each frame, by frames after the horn.
std::map<int, Seen> playCorridor(ScriptedGame& game, const std::vector<Step>& steps) {
    PlayScreen screen(game.window(), raceMode, corridorCatalogue(), 0, true);
    std::map<int, Seen> seen;
    std::uint64_t horn = 0;
    game.when([&](GameWindow&) { return !screen.simulation().play().countdownRunning; },
              [&](GameWindow& window) {
                  horn = window.frameNumber();
                  for (const Step& step : steps) {
                      window.queueEventAt(horn + static_cast<std::uint64_t>(step.afterHorn),
                                          step.event);
                  }
              });
    game.everyFrame([&](GameWindow& window) {
        const PlayState& play = screen.simulation().play();
        if (horn != 0) {
            seen[static_cast<int>(window.frameNumber() - horn)] = {
                screen.simulation().viewAngle(), screen.simulation().raceClock(),
                screen.currentState(), screen.pauseState().list.selected,
                play.jumpRequested || play.jumpCooldown >= 0.0f};
        }
    });
    screen.run();
    return seen;
}

// Degrees per second of the race clock the world turned from frame `from` to
// frame `to`.
float turnRate(const std::map<int, Seen>& seen, int from, int to) {
    return (seen.at(to).angle - seen.at(from).angle) / (seen.at(to).clock - seen.at(from).clock);
}

}  // namespace

TEST(PadPlayScene, TheStickTurnsByItsPushButtonsJumpAndPauseAndAnUnpluggedPadLetsGo) {
    REQUIRE_DISPLAY();
    ScriptedGame game;
    game.settings().setInt("submitscores", 0);
    const auto move = [](Pad::Axis axis, float position) {
        return GameWindow::padMoveEvent(0, axis, position);
    };
    const auto button = [](unsigned number, bool pressed) {
        return GameWindow::padButtonEvent(0, number, pressed);
    };
    const std::map<int, Seen> seen =
        playCorridor(game, {{1, GameWindow::padConnectionEvent(0, true)},
                            {30, button(0, true)},
                            {33, button(0, false)},
                            {50, move(Pad::X, -40.0f)},  // a quarter past the dead zone, left
                            {70, move(Pad::X, 80.0f)},   // three quarters, right
                            {90, move(Pad::X, 0.0f)},
                            {95, button(7, true)},  // Start pauses
                            {96, button(7, false)},
                            {100, move(Pad::PovY, 100.0f)},  // the d-pad walks the pause menu
                            {101, move(Pad::PovY, 0.0f)},
                            {105, button(7, true)},  // Start resumes
                            {106, button(7, false)},
                            {110, move(Pad::X, -100.0f)},
                            {120, GameWindow::padConnectionEvent(0, false)},
                            {130, GameWindow::closedEvent()}});

    ASSERT_TRUE(seen.count(129)) << "the level ran to the end of the script";
    int firstJump = -1;
    for (auto at = seen.begin(); at != seen.end() && firstJump < 0; ++at) {
        firstJump = at->second.jumping ? at->first : -1;
    }
    EXPECT_TRUE(firstJump >= 30 && firstJump < 40) << "button 0 jumps: " << firstJump;
    // Slow 140, normal 280, fast 420 degrees per second: a quarter and three
    // quarters of the stick's travel lie between them.
    EXPECT_NEAR(turnRate(seen, 55, 65), 210.0f, 0.05f);
    EXPECT_NEAR(turnRate(seen, 75, 85), -350.0f, 0.05f);
    EXPECT_EQ(turnRate(seen, 91, 94), 0.0f);
    EXPECT_EQ(seen.at(97).state, PlayScreen::paused);
    EXPECT_EQ(seen.at(102).pauseItem, 1) << "the d-pad moved to Restart";
    EXPECT_EQ(seen.at(107).state, PlayScreen::playing) << "Start resumed, whatever was selected";
    EXPECT_NEAR(turnRate(seen, 112, 118), 420.0f, 0.05f);
    EXPECT_EQ(turnRate(seen, 122, 128), 0.0f) << "the unplugged pad's push is let go";
}
