// A finished run is kept as the personal best's run, and the next play races
// it: the ghost stands where the replayed ball stood after as many steps.
#include <gtest/gtest.h>

#include <box2d/b2_body.h>

#include <map>

#include "Pixels.hpp"
#include "PlayDriver.hpp"
#include "app/Files.hpp"
#include "app/ScreenLook.hpp"
#include "app/Sha256.hpp"
#include "game/GhostTrack.hpp"
#include "game/PersonalRuns.hpp"
#include "level/Level.hpp"
#include "level/Units.hpp"

namespace {

std::string corridorBytes() {
    const auto bytes = readWholeFile(corridorLevel);
    return bytes ? std::string(bytes->data(), bytes->size()) : std::string();
}

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
};

// Plays the corridor without touching a key while the ghost races.
GhostRace raceTheGhost(const RecordedRun& kept, int ghostSetting) {
    ScriptedGame game;
    game.settings().setInt("submitscores", 0);
    game.settings().setInt("drawclouds", 0);
    game.settings().setInt("ghost", ghostSetting);
    // Nothing listens here: "Record" finds no record and races the best.
    game.settings().setString("highscoreserver", "127.0.0.1:1");
    EXPECT_TRUE(PersonalRuns().save(kept));
    PlayScreen screen(game.window(), raceMode, corridorCatalogue(), 0, true);
    GhostRace race;
    game.everyFrame([&](GameWindow& window) {
        const auto pose = screen.ghostBall().pose();
        const Level* level = screen.simulation().level();
        if (!pose || level == nullptr || race.tintAtGhost >= 0) {
            return;
        }
        race.poses[screen.simulation().stepsTaken()] = *pose;
        const b2Vec2 ball = level->ball->body()->GetPosition();
        if ((pose->position - ball).Length() < 4.0f) {
            return;
        }
        sf::View world(screen.simulation().cameraCentre(),
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

TEST(GhostScene, TheKeptRunIsRacedWhereItsBallWas) {
    REQUIRE_DISPLAY();
    const std::optional<RecordedRun> kept = finishOnce();
    ASSERT_TRUE(kept) << "the finish kept its run in the runs folder";

    struct Case {
        int ghostSetting;
        bool ghostShown;
    };
    for (const Case c : {Case{1, true}, Case{2, true}, Case{0, false}}) {
        SCOPED_TRACE(c.ghostSetting);
        const GhostRace race = raceTheGhost(*kept, c.ghostSetting);
        EXPECT_EQ(!race.poses.empty(), c.ghostShown);
        if (!c.ghostShown) {
            continue;
        }
        GhostTrack replay(*kept, corridorBytes());
        for (const auto& [step, pose] : race.poses) {
            ASSERT_EQ(pose, replay.poseAfterStep(step)) << "step " << step;
        }
        EXPECT_GT(race.poses.rbegin()->first, 0) << "the ghost moved with the steps";
        EXPECT_GT(race.tintAtGhost, 20) << "the ghost shows where it stands";
    }
}
