#include <gtest/gtest.h>

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>

#include <functional>
#include <vector>

#include "TestLevels.hpp"
#include "sim/level/Level.hpp"
#include "sim/play/Gravity.hpp"
#include "sim/play/LevelSimulation.hpp"

namespace {

constexpr float frame60 = 1.0f / 60.0f;

// A headless level as tests, replays and benchmarks use it.
struct Headless {
    explicit Headless(const TileMap& map, GameMode mode = raceMode, TurnSpeeds speeds = {})
        : sim(mode, speeds) {
        sim.buildLevel(map);
    }
    // Frames of 1/60 s until the horn.
    void passCountdown() {
        while (sim.play().countdownRunning) {
            sim.advance(frame60);
        }
    }
    void run(int frames) {
        for (int i = 0; i < frames; ++i) {
            sim.advance(frame60);
        }
    }
    LevelSimulation sim;
};

// Holds Right from the horn on until the finish; the number of frames raced.
int raceCorridor(Headless& level, const std::function<void(int)>& beforeFrame = nullptr) {
    level.passCountdown();
    level.sim.handleInput(PlayInput::pressed(PlayKey::right));
    for (int frame = 0; frame < 60 * 30; ++frame) {
        if (beforeFrame) {
            beforeFrame(frame);
        }
        if (level.sim.advance(frame60).finishedNow) {
            return frame;
        }
        // A quarter turn to the right, then hold it.
        if (level.sim.viewAngle() <= -90.0f && level.sim.keys().rightHeld) {
            level.sim.handleInput(PlayInput::released(PlayKey::right));
        }
    }
    return -1;
}

}  // namespace

TEST(Accumulator, StepsAtFixedRateAndCarriesTheRest) {
    Headless level(finishCorridor());
    // One long frame runs the whole countdown: no step may happen in it.
    EXPECT_EQ(level.sim.advance(5.0f).worldSteps, 0);
    EXPECT_FALSE(level.sim.play().countdownRunning);
    EXPECT_EQ(level.sim.advance(0.002f).worldSteps, 0);
    // The carried 0.002 s and another 0.001 s make one step.
    EXPECT_EQ(level.sim.advance(0.001f).worldSteps, 1);
    level.sim.buildLevel(finishCorridor());
    EXPECT_FLOAT_EQ(level.sim.accumulator(), 0.0f);
}

TEST(RaceClock, RunsFromTheHornUntilTheFinishOnlyWithAPenaltyOfTheFinishFrame) {
    Headless race(finishCorridor());
    race.sim.handleInput(PlayInput::pressed(PlayKey::left));
    const b2Vec2 ballAtStart = race.sim.snapshot().ballPosition;
    race.run(299);
    ASSERT_TRUE(race.sim.play().countdownRunning);
    EXPECT_EQ(race.sim.snapshot().ballPosition, ballAtStart);
    EXPECT_EQ(race.sim.viewAngle(), 0.0f) << "turn keys do nothing during the countdown";
    EXPECT_EQ(race.sim.raceClock(), 0.0f);
    race.sim.handleInput(PlayInput::released(PlayKey::left));

    // Turn keys held through the countdown leave the race as a clean one.
    const int finishFrame = raceCorridor(race);
    ASSERT_GT(finishFrame, 0) << "the ball should roll into the finish";
    const float finishTime = race.sim.raceClock();
    const float angle = race.sim.viewAngle();
    race.sim.handleInput(PlayInput::pressed(PlayKey::left));
    race.run(120);
    EXPECT_EQ(race.sim.raceClock(), finishTime) << "the clock stops at the finish";
    EXPECT_EQ(race.sim.viewAngle(), angle) << "no turning after the finish";

    // The same run, with a penalty collected during the steps of the frame
    // in which the ball finishes.
    Headless penalised(finishCorridor());
    raceCorridor(penalised, [&](int frame) {
        if (frame == finishFrame) {
            penalised.sim.play().pendingPenalty += 3.0f;
        }
    });
    ASSERT_TRUE(penalised.sim.finished());
    EXPECT_FLOAT_EQ(penalised.sim.raceClock(), finishTime + 3.0f);
}

TEST(Turning, RatesFollowTheModifiersAndTheInvertSetting) {
    struct Case {
        bool left;
        bool shift;
        bool control;
        bool inverted;
        float degrees;
    };
    const Case cases[] = {
        {true, false, false, false, 280.0f},   {true, true, false, false, 140.0f},
        {true, false, true, false, 420.0f},    {true, true, true, false, 420.0f},
        {false, false, false, false, -280.0f}, {false, true, false, false, -140.0f},
        {true, false, false, true, -280.0f},   {false, false, true, true, 420.0f},
    };
    for (const Case& c : cases) {
        TurnSpeeds speeds;
        speeds.inverted = c.inverted;
        Headless level(closedRoom(), raceMode, speeds);
        level.passCountdown();
        const float before = level.sim.viewAngle();
        level.sim.handleInput(
            PlayInput::pressed(c.left ? PlayKey::left : PlayKey::right, c.shift, c.control));
        level.run(60);
        EXPECT_NEAR(level.sim.viewAngle() - before, c.degrees, 0.01f)
            << "left " << c.left << " shift " << c.shift << " control " << c.control << " inverted "
            << c.inverted;
        // The world's gravity follows the unwrapped angle.
        const b2Vec2 expected = gravityForViewAngle(level.sim.viewAngle());
        EXPECT_EQ(level.sim.play().gravity, expected);
    }
}

TEST(KeyFlags, FollowTheRulesOfTheKeyInputs) {
    Headless level(finishCorridor());
    LevelSimulation& sim = level.sim;
    sim.handleInput(PlayInput::pressed(PlayKey::left));
    sim.handleInput(PlayInput::pressed(PlayKey::right));
    EXPECT_TRUE(sim.keys().rightHeld);
    EXPECT_FALSE(sim.keys().leftHeld) << "pressing one turn key clears the other";
    sim.handleInput(PlayInput::released(PlayKey::right));
    EXPECT_FALSE(sim.keys().rightHeld);
    EXPECT_FALSE(sim.keys().leftHeld) << "Left stays off although still held";

    // Modifiers come from every key event, whatever its key.
    sim.handleInput(PlayInput::pressed(PlayKey::left, true, false));
    EXPECT_TRUE(sim.keys().shiftHeld);
    sim.handleInput(PlayInput::pressed(PlayKey::other));
    EXPECT_FALSE(sim.keys().shiftHeld);
    sim.handleInput(PlayInput::released(PlayKey::other, false, true));
    EXPECT_TRUE(sim.keys().controlHeld);

    sim.handleInput(PlayInput::pressed(PlayKey::space));
    EXPECT_TRUE(sim.play().jumpRequested);
    sim.handleInput(PlayInput::released(PlayKey::space));
    EXPECT_FALSE(sim.play().jumpRequested);
    sim.handleInput(PlayInput::pressed(PlayKey::enter));
    sim.handleInput(PlayInput::released(PlayKey::enter));
    EXPECT_TRUE(sim.play().jumpRequested) << "releasing Return keeps the jump";

    // A pad's turn: clamped, and the turn keys win over it.
    sim.handleInput(PlayInput::released(PlayKey::left));
    sim.handleInput(PlayInput::padTurn(250.0f));
    EXPECT_EQ(sim.keys().padTurn, 100.0f);
    EXPECT_EQ(turnRate(sim.keys(), sim.turnSpeeds()), -420.0f);
    sim.handleInput(PlayInput::pressed(PlayKey::left));
    EXPECT_EQ(turnRate(sim.keys(), sim.turnSpeeds()), 280.0f);

    // A new level starts with every flag off.
    sim.buildLevel(finishCorridor());
    EXPECT_FALSE(sim.keys().leftHeld || sim.keys().controlHeld || sim.keys().padTurn != 0.0f);
    EXPECT_FALSE(sim.play().jumpRequested);
}

TEST(PuzzleRule, FinishesWhenNoColourTargetIsLeft) {
    // The red ball drops through a blue switch onto a blue target.
    const TileMap shaft = levelFromRows({"XXX", "X@X", "XbX", "X X", "XBX", "XXX"});
    Headless puzzle(shaft, puzzleMode);
    puzzle.passCountdown();
    EXPECT_EQ(puzzle.sim.colourTargetsLeft(), 1);
    EXPECT_EQ(puzzle.sim.ballColour(), Colour::red);
    bool changed = false;
    for (int frame = 0; frame < 180 && !puzzle.sim.finished(); ++frame) {
        changed = puzzle.sim.advance(frame60).colourChanged || changed;
    }
    EXPECT_TRUE(changed);
    EXPECT_EQ(puzzle.sim.ballColour(), Colour::blue);
    EXPECT_EQ(puzzle.sim.colourTargetsLeft(), 0);
    EXPECT_TRUE(puzzle.sim.finished());

    // A race level never ends by the puzzle rule.
    Headless race(shaft, raceMode);
    race.passCountdown();
    race.run(180);
    EXPECT_EQ(race.sim.colourTargetsLeft(), 0);
    EXPECT_FALSE(race.sim.finished());
}

// A knock harder than the reaction speed makes the face react once, however
// long the ball then goes without touching anything. During the countdown
// the world does not step, so no contact adds or overwrites a knock.
TEST(ImpactReaction, AHardKnockMakesOneReaction) {
    LevelSimulation sim(raceMode, TurnSpeeds());
    sim.buildLevel(closedRoom());
    std::vector<bool> reactions;
    for (float speed : {LevelSimulation::reactionSpeed, LevelSimulation::reactionSpeed + 1.0f}) {
        sim.play().impactSpeed = speed;
        for (int frame = 0; frame < 3; ++frame) {
            reactions.push_back(sim.advance(1.0f / 60.0f).impactReaction);
        }
    }
    ASSERT_TRUE(sim.play().countdownRunning);
    EXPECT_EQ(reactions, (std::vector<bool>{false, false, false, true, false, false}));
}
