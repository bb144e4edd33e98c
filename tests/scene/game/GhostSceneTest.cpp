// A finished run is kept as the personal best's run, and the next play races
// it: the ghost stands where the replayed ball stood after as many steps.
#include <gtest/gtest.h>

#include <box2d/b2_body.h>

#include <chrono>
#include <map>
#include <thread>

#include "NetworkStandIns.hpp"
#include "Pixels.hpp"
#include "PlayDriver.hpp"
#include "app/look/ScreenLook.hpp"
#include "game/PersonalRuns.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/level/Level.hpp"
#include "sim/level/Units.hpp"
#include "sim/run/GhostTrack.hpp"
#include "sim/run/RunText.hpp"

namespace {

// Plays the corridor to the finish and returns the run kept for it.
std::optional<RecordedRun> finishOnce() {
    ScriptedGame game;
    game.settings().setInt("submitscores", 0);
    PlayScreen screen(game.window(), raceMode, corridorCatalogue(), 0, true);
    CorridorDriver driver(game, screen);
    screen.run();
    EXPECT_FALSE(screen.ghostBall().pose()) << "no run was kept yet";
    EXPECT_TRUE(screen.finishState().newPersonalBest);
    auto kept = PersonalRuns().load(raceMode, corridorId, sha256Hex(corridorBytes()));
    if (kept) {
        EXPECT_EQ(formatRun(*kept), formatRun(screen.recording().run()));
        EXPECT_EQ(kept->finishMilliseconds, raceMilliseconds(screen.simulation().raceClock()));
    }
    return kept;
}

// Pixels near `centre` (window pixels) that the red ghost tints: redder than
// the sky, which is far bluer than red.
int tintedPixels(const sf::Image& picture, sf::Vector2i centre) {
    const float scale = ScreenLook::viewWidth / static_cast<float>(picture.getSize().x);
    const sf::FloatRect box(static_cast<float>(centre.x) * scale - 10.0f,
                            static_cast<float>(centre.y) * scale - 10.0f, 20.0f, 20.0f);
    return countPixels(picture, box, [](sf::Color c) { return c.r > c.b; });
}

struct GhostRace {
    std::map<long long, GhostPose> poses;  // player's steps -> ghost drawn
    int tintAtGhost = -1;                  // in a frame the ghost is clear of the ball
    int framesBeforeGhost = 0;             // played while the ghost was not known yet
};

// Plays the corridor without touching a key while the ghost races.
GhostRace raceTheGhost(const RecordedRun& kept, int ghostSetting, const std::string& server) {
    ScriptedGame game;
    // The record's run is asked of the server only with online scores on.
    game.settings().setInt("submitscores", ghostSetting == 2 ? 1 : 0);
    game.settings().setInt("drawclouds", 0);
    game.settings().setInt("ghost", ghostSetting);
    // No server answers: "Record" finds no record and races the best.
    game.settings().setString("highscoreserver", server);
    EXPECT_TRUE(PersonalRuns().save(kept));
    PlayScreen screen(game.window(), raceMode, corridorCatalogue(), 0, true);
    GhostRace race;
    game.everyFrame([&](GameWindow& window) {
        const auto pose = screen.ghostBall().pose();
        const Level* level = screen.simulation().level();
        if (!pose && race.poses.empty()) {
            ++race.framesBeforeGhost;
            if (ghostSetting == 2) {
                // Frames at a human pace while the server is asked, so the
                // wait for a hung one fits the frame budget.
                std::this_thread::sleep_for(std::chrono::milliseconds(4));
            }
        }
        if (!pose || level == nullptr || race.tintAtGhost >= 0) {
            return;
        }
        race.poses[screen.simulation().stepsTaken()] = *pose;
        const b2Vec2 ball = level->ball->body()->GetPosition();
        if ((pose->position - ball).Length() < 4.0f) {
            return;
        }
        const b2Vec2 camera = screen.simulation().cameraCentre();
        sf::View world(sf::Vector2f(camera.x, camera.y),
                       sf::Vector2f(ScreenLook::viewWidth, ScreenLook::viewHeight));
        world.setRotation(screen.simulation().viewAngle());
        const sf::Vector2f at(pose->position.x * pixelsPerUnit, -pose->position.y * pixelsPerUnit);
        race.tintAtGhost =
            tintedPixels(window.capture(), window.target().mapCoordsToPixel(at, world));
        window.queueEventAt(window.frameNumber() + 1, GameWindow::closedEvent());
    });
    screen.run();
    return race;
}

}  // namespace

TEST(GhostScene, TheKeptRunIsRacedWhereItsBallWasAndLevelWithItself) {
    REQUIRE_DISPLAY();
    const std::optional<RecordedRun> kept = finishOnce();
    ASSERT_TRUE(kept) << "the finish kept its run in the runs folder";

    // A hung server holds the record's ghost back, never the level: the
    // ghost joins when the request times out and catches up with the steps.
    const SilentServer hung;
    struct Case {
        int ghostSetting;
        std::string server;
        bool ghostShown;
        bool late;
    };
    for (const Case& c :
         {Case{1, refusingAddress(), true, false}, Case{2, refusingAddress(), true, false},
          Case{2, hung.address(), true, true}, Case{0, refusingAddress(), false, false}}) {
        SCOPED_TRACE(c.ghostSetting);
        SCOPED_TRACE(c.server);
        const GhostRace race = raceTheGhost(*kept, c.ghostSetting, c.server);
        ASSERT_EQ(!race.poses.empty(), c.ghostShown) << race.framesBeforeGhost << " frames";
        if (!c.ghostShown) {
            continue;
        }
        if (c.late) {
            EXPECT_GT(race.framesBeforeGhost, 10) << "frames went on while the server kept silent";
        } else if (c.ghostSetting == 1) {
            EXPECT_EQ(race.framesBeforeGhost, 0) << "the personal ghost is there from the start";
        }
        GhostTrack replay(*kept, corridorBytes());
        for (const auto& [step, pose] : race.poses) {
            ASSERT_EQ(pose, replay.poseAfterStep(step)) << "step " << step;
        }
        EXPECT_GT(race.poses.rbegin()->first, 0) << "the ghost moved with the steps";
        EXPECT_GT(race.tintAtGhost, 20) << "the ghost shows where it stands";
    }

    // Played again as it was kept, the run is level with its own ghost in
    // every frame of the race and at the finish, and the HUD writes the gap
    // beside the clock.
    ScriptedGame game;
    game.settings().setInt("submitscores", 0);
    game.settings().setInt("drawclouds", 0);
    game.settings().setInt("ghost", 1);
    ASSERT_TRUE(PersonalRuns().save(*kept));
    PlayScreen screen(game.window(), raceMode, corridorCatalogue(), 0, true);
    CorridorDriver driver(game, screen);
    std::vector<float> racing;
    std::optional<float> atFinish;
    int gapPixels = -1;
    game.everyFrame([&](GameWindow& window) {
        const GhostBall& ghost = screen.ghostBall();
        if (!ghost.gap() || screen.simulation().play().countdownRunning) {
            return;
        }
        if (ghost.gapIsFinal()) {
            atFinish = ghost.gap();
        } else {
            racing.push_back(*ghost.gap());
        }
        if (gapPixels < 0) {
            gapPixels = countPixels(window.capture(), {520.0f, 950.0f, 120.0f, 60.0f}, isWhitish);
        }
    });
    screen.run();
    ASSERT_GT(racing.size(), 30u) << "frames of the race with a gap";
    EXPECT_EQ(racing, std::vector<float>(racing.size(), 0.0f));
    EXPECT_EQ(atFinish, 0.0f);
    EXPECT_GT(gapPixels, 30) << "\"0.00\" beside the clock";
}
