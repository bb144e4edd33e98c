// The replay screen in a real window: committed runs shown at any speed end
// in the headless replay's state, steps and seeks stand where a straight
// replay stood, keys and pad do the same, and runs that cannot be shown say
// why.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <vector>

#include "Pixels.hpp"
#include "ScriptedGame.hpp"
#include "ShippedRun.hpp"
#include "game/ReplayScreen.hpp"
#include "game/ScoreFont.hpp"
#include "sim/run/RunReplay.hpp"

namespace {

using Key = sf::Keyboard;
constexpr float frame60 = 1.0f / 60.0f;
constexpr std::uint64_t generousBudget = 60 * 300;

// What the screen stood at after each window frame.
struct Seen {
    std::size_t frame = 0;
    std::uint64_t hash = 0;
    bool finished = false;
    bool paused = false;
    int speed = 0;
};

std::map<std::uint64_t, Seen> record(ScriptedGame& game, const ReplayScreen& screen) {
    std::map<std::uint64_t, Seen> seen;
    game.everyFrame([&seen, &screen](GameWindow& window) {
        const RunTimeline& timeline = *screen.timeline();
        seen[window.frameNumber()] = {timeline.frame(), timeline.simulation().stateHash(),
                                      timeline.simulation().finished(), screen.paused(),
                                      screen.speedIndex()};
    });
    return seen;
}

}  // namespace

TEST(ReplayScene, CommittedRunsEndInTheHeadlessReplaysStateAtFourTimesAndAQuarter) {
    REQUIRE_DISPLAY();
    struct Case {
        const char* stem;
        std::vector<Key::Key> keys;
        float speed;
    };
    // A quarter plays four times as many window frames: the shortest run.
    for (const Case& c : {Case{"TheLabyrinth", {Key::Up, Key::Up}, 4.0f},
                          Case{"TheRopeBridge", {Key::Up, Key::Up}, 4.0f},
                          Case{"Fortified", {Key::Up, Key::Up}, 4.0f},
                          Case{"ChaosUnleashed", {Key::Up, Key::Up, Key::Up}, 4.0f},
                          Case{"TheLabyrinth", {Key::Down, Key::Down}, 0.25f}}) {
        SCOPED_TRACE(c.stem);
        SCOPED_TRACE(c.speed);
        const ShippedRun shipped = loadShippedRun(c.stem);
        LevelSimulation headless(shipped.run.mode, shipped.run.turnSpeeds);
        headless.loadLevelBytes(shipped.levelBytes);
        replayRun(headless, shipped.run);

        // Shown from the start at the speed the keys choose in the first
        // frames, until the last recorded frame has played.
        ScriptedGame game("", frame60, generousBudget);
        ReplayScreen screen(game.window(), ReplaySource{"Your best", shipped.text, "", ""});
        const std::map<std::uint64_t, Seen> seen = record(game, screen);
        game.tapKeys(0, c.keys, 1);
        game.when([&](GameWindow&) { return screen.timeline()->atEnd(); },
                  [&](GameWindow& window) { game.keyAt(window.frameNumber() + 2, Key::Escape); });
        screen.run();
        const auto end = std::find_if(seen.begin(), seen.end(), [&](const auto& frame) {
            return frame.second.frame == shipped.run.frameCount();
        });
        ASSERT_NE(end, seen.end());
        EXPECT_EQ(end->second.hash, headless.stateHash());
        EXPECT_EQ(end->second.finished, headless.finished());
        // Window frames of 1/60 s at the speed cover the run's game time.
        const RunTimes times(shipped.run.frameTimes);
        const double expected = times.totalSeconds() / (frame60 * c.speed);
        EXPECT_NEAR(static_cast<double>(end->first), expected, 3.0 + expected * 0.01);
        std::size_t most = 0;
        int without = 0;  // window frames that played no recorded frame
        for (auto at = seen.find(c.keys.size()); at != end; ++at) {
            const std::size_t played = std::next(at)->second.frame - at->second.frame;
            most = std::max(most, played);
            without += played == 0 ? 1 : 0;
        }
        if (c.speed > 1.0f) {
            EXPECT_GE(most, 4u) << "several recorded frames a window frame";
        } else {
            EXPECT_EQ(most, 1u);
            EXPECT_GT(without, static_cast<int>(expected * 0.7));
        }
    }
}

// Paused, nothing plays; a step is exactly one recorded frame, by keyboard
// (Period, PageDown) and pad (the left button); the pad's bottom button
// resumes, and its stick changes the speed. Then 5 s back and on, by keys
// and stick, and the restart by key and pad: each lands where a straight
// replay stood after as many frames.
TEST(ReplayScene, StepsSeeksAndRestartsByKeyOrPadLandOnTheStraightReplaysState) {
    REQUIRE_DISPLAY();
    const ShippedRun shipped = loadShippedRun("ChaosUnleashed");
    const std::vector<std::uint64_t> hashes = straightHashes(shipped);
    const RunTimes times(shipped.run.frameTimes);
    ScriptedGame game("", frame60, generousBudget);
    ReplayScreen screen(game.window(), ReplaySource{"Your best", shipped.text, "", ""});
    // The head-up display names the level, whose run it is and its time.
    EXPECT_EQ(screen.headline(), "Replay \xC2\xB7 " + shipped.run.levelName);
    const float seconds = static_cast<float>(shipped.run.finishMilliseconds) / 1000.0f;
    EXPECT_EQ(screen.byline(), "Your best \xC2\xB7 " + ScoreFont::shownText(seconds, true));
    const std::map<std::uint64_t, Seen> seen = record(game, screen);
    GameWindow& window = game.window();
    const auto pad = [&](std::uint64_t frame, const sf::Event& press, const sf::Event& release) {
        window.queueEventAt(frame, press);
        window.queueEventAt(frame + 1, release);
    };
    const auto button = [&](std::uint64_t frame, unsigned number) {
        pad(frame, GameWindow::padButtonEvent(0, number, true),
            GameWindow::padButtonEvent(0, number, false));
    };
    const auto stick = [&](std::uint64_t frame, sf::Joystick::Axis axis, float push) {
        pad(frame, GameWindow::padMoveEvent(0, axis, push), GameWindow::padMoveEvent(0, axis, 0));
    };
    window.queueEventAt(1, GameWindow::padConnectionEvent(0, true));
    game.keyAt(400, Key::Space);
    game.keyAt(410, Key::Period);
    game.keyAt(420, Key::PageDown);
    button(430, 2);
    game.keyAt(440, Key::Right);  // a step never goes 5 s on: a seek does
    game.keyAt(450, Key::Period);
    button(460, 0);
    stick(470, sf::Joystick::Y, -100.0f);  // twice the speed: the seeks come well into the race
    game.keyAt(700, Key::Left);
    game.keyAt(710, Key::Right);
    stick(720, sf::Joystick::X, -100.0f);
    stick(730, sf::Joystick::X, 100.0f);
    game.keyAt(740, Key::R);
    button(750, 3);
    game.keyAt(760, Key::Escape);
    screen.run();

    ASSERT_TRUE(seen.count(759));
    const std::size_t pausedAt = seen.at(400).frame;
    EXPECT_TRUE(seen.at(400).paused);
    EXPECT_EQ(seen.at(409).frame, pausedAt) << "nothing plays while paused";
    struct Step {
        std::uint64_t windowFrame;
        std::size_t frames;  // past the pause
    };
    for (const Step& step : {Step{410, 1}, Step{419, 1}, Step{420, 2}, Step{430, 3}}) {
        SCOPED_TRACE(step.windowFrame);
        EXPECT_EQ(seen.at(step.windowFrame).frame, pausedAt + step.frames);
        EXPECT_EQ(seen.at(step.windowFrame).hash, hashes[pausedAt + step.frames]);
    }
    const std::size_t sought = times.frameAt(times.secondsAt(pausedAt + 3) + 5.0);
    EXPECT_EQ(seen.at(440).frame, sought);
    EXPECT_EQ(seen.at(450).frame, sought + 1);
    EXPECT_EQ(seen.at(450).hash, hashes[sought + 1]);
    EXPECT_FALSE(seen.at(460).paused) << "the pad's bottom button resumes";
    // Five window frames of 1/60 s play as much game time, within a frame.
    EXPECT_NEAR(times.secondsAt(seen.at(465).frame) - times.secondsAt(seen.at(460).frame),
                5.0 * frame60, frame60 * 1.01);
    EXPECT_EQ(seen.at(470).speed, ReplayScreen::normalSpeed + 1) << "the stick pushed up";
    EXPECT_GT(seen.at(699).frame, times.frameAt(10.0)) << "the seeks start in the race";

    struct Seek {
        std::uint64_t windowFrame;
        double seconds;  // from where the frame before stood; NAN: the start
    };
    for (const Seek& seek : {Seek{700, -5.0}, Seek{710, 5.0}, Seek{720, -5.0}, Seek{730, 5.0},
                             Seek{740, NAN}, Seek{750, NAN}}) {
        SCOPED_TRACE(seek.windowFrame);
        const Seen& before = seen.at(seek.windowFrame - 1);
        const Seen& after = seen.at(seek.windowFrame);
        const std::size_t target =
            std::isnan(seek.seconds) ? 0
                                     : times.frameAt(times.secondsAt(before.frame) + seek.seconds);
        // The seek comes first in its frame, then the frame's share plays on.
        EXPECT_GE(after.frame, target);
        EXPECT_LE(after.frame, target + 2);
        EXPECT_EQ(after.hash, hashes[after.frame]);
    }
}

// Each reason is on screen and in one line on standard error; the screen
// takes no key but Escape and never crashes.
TEST(ReplayScene, RunsThatCannotBeShownSayWhy) {
    REQUIRE_DISPLAY();
    const ShippedRun shipped = loadShippedRun("TheLabyrinth");
    const std::string levelFile = dataPath(shipped.run.levelFile);
    TempFolder temp;
    // The same level, edited by a comment: it plays alike but is another file.
    std::string edited = shipped.levelBytes;
    edited.insert(edited.find("<map"), "<!-- edited -->\n");
    writeFileBytes(temp.file("edited.tmx"), edited);
    const auto withLine = [&shipped](const std::string& key, const std::string& value) {
        std::string text = shipped.text;
        const std::size_t at = text.find(key + ":");
        return text.replace(at, text.find('\n', at) - at, key + ": " + value);
    };
    writeFileBytes(temp.file("huge.run"), "");
    std::filesystem::resize_file(temp.file("huge.run"), std::size_t{9} << 20);

    struct Case {
        const char* what;
        ReplaySource source;
        const char* reason;
    };
    for (const Case& c : {
             Case{"broken", {"x.run", "rollavortex-run 2\nframes: 1\nno\n", "", ""}, "not a run"},
             Case{"physics", {"x", withLine("physics", "1"), "", ""}, "physics version 1"},
             Case{"edited level",
                  {"x", shipped.text, "", temp.file("edited.tmx")},
                  "another version of the level"},
             Case{"level file missing", {"x", shipped.text, "", temp.file("gone.tmx")}, "missing"},
             Case{"unknown level", {"x", withLine("level-id", "4242"), "", ""}, "not one of"},
             Case{"unreadable", replayOfFile(temp.file("nothing.run"), "nothing.run"),
                  "cannot read"},
             Case{"too large", replayOfFile(temp.file("huge.run"), "huge.run"), "too large"},
         }) {
        SCOPED_TRACE(c.what);
        ScriptedGame game;
        testing::internal::CaptureStderr();
        ReplayScreen screen(game.window(), c.source);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(screen.timeline(), nullptr);
        EXPECT_NE(screen.problem().find(c.reason), std::string::npos) << screen.problem();
        EXPECT_EQ(said, "rollavortex: cannot replay the run: " + screen.problem() + "\n");
        int reasonPixels = -1;
        game.tapKeys(1, {Key::Space, Key::Left, Key::R, Key::Period}, 1);
        game.when([](GameWindow& window) { return window.frameNumber() == 6; },
                  [&](GameWindow& window) {
                      reasonPixels = countPixels(window.capture(), {100.0f, 520.0f, 1080.0f, 60.0f},
                                                 isWhitish);
                      window.queueEvent(GameWindow::keyEvent(Key::Escape, true));
                  });
        screen.run();
        EXPECT_GT(reasonPixels, 200) << "the reason is written under the title";
        EXPECT_TRUE(game.window().isOpen()) << "Escape leaves the screen, not the game";
    }
    ASSERT_TRUE(std::filesystem::exists(levelFile));
}
