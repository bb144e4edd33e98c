// The gap to the ghost by its rule: a copy slowed by a known wait before its
// first turn is that far behind from the moment the faster ball moves, within
// a frame, and at the finish to the millisecond. A run racing itself is level
// throughout: scene_game's GhostScene.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "TestLevels.hpp"
#include "sim/run/GhostGap.hpp"
#include "sim/run/GhostTrack.hpp"

namespace {

// Whole ticks, so every frame time and the clock are exact.
constexpr float frameTime = 1.0f / 64.0f;
constexpr int framesPerSecond = 64;
constexpr int countdownFrames = 5 * framesPerSecond;

// The corridor played as the scene tests' driver plays it, after resting
// `waitFrames` past the horn: a quarter turn to the right, and the ball rolls
// into the finish.
RecordedRun corridorRun(int waitFrames) {
    const std::string level = corridorBytes();
    RecordedRun run;
    LevelSimulation simulation(raceMode, run.turnSpeeds);
    simulation.loadLevelBytes(level);
    const auto turn = [](bool pressed) {
        return pressed ? PlayInput::pressed(PlayKey::right) : PlayInput::released(PlayKey::right);
    };
    for (int frame = 0; frame < 60 * framesPerSecond && !simulation.finished(); ++frame) {
        std::vector<PlayInput> inputs;
        if (frame >= countdownFrames + waitFrames) {
            const bool held = simulation.keys().rightHeld;
            if (!held && simulation.viewAngle() > -90.0f) {
                inputs.push_back(turn(true));
            } else if (held && simulation.viewAngle() <= -90.0f) {
                inputs.push_back(turn(false));
            }
        }
        run.addFrame(frameTime, inputs);
        simulation.advance(frameTime, inputs);
    }
    run.finishMilliseconds = simulation.finished() ? raceMilliseconds(simulation.raceClock()) : -1;
    return run;
}

struct Race {
    std::vector<float> gaps;  // after each frame of the player's run
    std::optional<float> atFinish;
};

Race race(const RecordedRun& player, const RecordedRun& ghostRun) {
    const std::string level = corridorBytes();
    LevelSimulation simulation(raceMode, player.turnSpeeds);
    simulation.loadLevelBytes(level);
    GhostTrack ghost(ghostRun, level);
    GhostGap gap;
    Race race;
    RunCursor cursor(player);
    while (!cursor.done()) {
        const FrameReport report = cursor.playNext(simulation);
        race.gaps.push_back(gap.update(ghost, simulation));
        ghost.forgetBefore(gap.matchedStep());
        if (report.finishedNow) {
            race.atFinish = gap.atFinish(ghost, simulation.raceClock());
        }
    }
    return race;
}

}  // namespace

TEST(GhostGap, LevelAgainstItselfAndBehindOrAheadOfASlowedCopyByItsDelay) {
    constexpr int rest = framesPerSecond;  // the ball settles on the floor
    const RecordedRun plain = corridorRun(rest);
    ASSERT_GT(plain.finishMilliseconds, 0);
    struct Case {
        const char* what;
        int playerDelay;  // frames of rest beyond `rest`
        int ghostDelay;
    };
    for (const Case& c :
         {Case{"ghost a quarter second slower", 0, 16}, Case{"ghost a second slower", 0, 64},
          Case{"player half a second slower", 32, 0}}) {
        SCOPED_TRACE(c.what);
        const RecordedRun player = c.playerDelay == 0 ? plain : corridorRun(rest + c.playerDelay);
        const RecordedRun ghost = c.ghostDelay == 0 ? plain : corridorRun(rest + c.ghostDelay);
        const float lead = static_cast<float>(c.playerDelay - c.ghostDelay) * frameTime;
        const long long leadMilliseconds = ghost.finishMilliseconds - player.finishMilliseconds;
        ASSERT_EQ(leadMilliseconds, std::lround(-lead * 1000.0f)) << "the copy is that much slower";

        const Race raced = race(player, ghost);
        ASSERT_TRUE(raced.atFinish);
        EXPECT_EQ(*raced.atFinish, lead);
        // From the first frame the later of the two balls moves on.
        const std::size_t moving =
            static_cast<std::size_t>(countdownFrames + rest + std::max(c.playerDelay, 0) + 1);
        for (std::size_t frame = 0; frame < raced.gaps.size(); ++frame) {
            if (frame < static_cast<std::size_t>(countdownFrames)) {
                ASSERT_EQ(raced.gaps[frame], 0.0f) << "the countdown, frame " << frame;
            } else if (frame >= moving) {
                ASSERT_NEAR(raced.gaps[frame], lead, frameTime) << "frame " << frame;
            }
        }
    }
}
