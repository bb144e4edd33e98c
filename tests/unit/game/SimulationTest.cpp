#include <gtest/gtest.h>

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>

#include <functional>

#include "TestLevels.hpp"
#include "app/GameWindow.hpp"
#include "game/FinishSequence.hpp"
#include "game/Gravity.hpp"
#include "game/LevelSimulation.hpp"
#include "level/Level.hpp"
#include "level/TileImages.hpp"

namespace {

constexpr float frame60 = 1.0f / 60.0f;

sf::Event press(sf::Keyboard::Key key, bool shift = false, bool control = false) {
    return GameWindow::keyEvent(key, true, shift, control);
}
sf::Event release(sf::Keyboard::Key key, bool shift = false, bool control = false) {
    return GameWindow::keyEvent(key, false, shift, control);
}

// A headless level as tests, replays and benchmarks use it: no pictures.
struct Headless {
    explicit Headless(const TileMap& map, GameMode mode = raceMode, TurnSpeeds speeds = {})
        : sim(images, mode, speeds) {
        sim.buildLevel(map);
    }
    // Frames of 1/60 s until the horn; returns how many.
    int passCountdown() {
        int frames = 0;
        while (sim.play().countdownRunning) {
            sim.advance(frame60);
            ++frames;
        }
        return frames;
    }
    void run(int frames, float frameTime = frame60) {
        for (int i = 0; i < frames; ++i) {
            sim.advance(frameTime);
        }
    }
    TileImages images;
    LevelSimulation sim;
};

// Holds Right from the horn on until the finish; the number of frames raced.
int raceCorridor(Headless& level, const std::function<void(int)>& beforeFrame = nullptr) {
    level.passCountdown();
    level.sim.handleEvent(press(sf::Keyboard::Right));
    for (int frame = 0; frame < 60 * 30; ++frame) {
        if (beforeFrame) {
            beforeFrame(frame);
        }
        if (level.sim.advance(frame60).finishedNow) {
            return frame;
        }
        // A quarter turn to the right, then hold it.
        if (level.sim.viewAngle() <= -90.0f && level.sim.keys().rightHeld) {
            level.sim.handleEvent(release(sf::Keyboard::Right));
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

TEST(RaceClock, RunsFromTheHornUntilTheFinishOnly) {
    Headless race(finishCorridor());
    race.sim.handleEvent(press(sf::Keyboard::Left));
    const b2Vec2 ballAtStart = race.sim.snapshot().ballPosition;
    race.run(299);
    ASSERT_TRUE(race.sim.play().countdownRunning);
    EXPECT_EQ(race.sim.snapshot().ballPosition, ballAtStart);
    EXPECT_EQ(race.sim.viewAngle(), 0.0f) << "turn keys do nothing during the countdown";
    EXPECT_EQ(race.sim.raceClock(), 0.0f);
    race.sim.handleEvent(release(sf::Keyboard::Left));

    ASSERT_GT(raceCorridor(race), 0) << "the ball should roll into the finish";
    const float finishTime = race.sim.raceClock();
    const float angle = race.sim.viewAngle();
    race.sim.handleEvent(press(sf::Keyboard::Left));
    race.run(120);
    EXPECT_EQ(race.sim.raceClock(), finishTime) << "the clock stops at the finish";
    EXPECT_EQ(race.sim.viewAngle(), angle) << "no turning after the finish";
}

TEST(RaceClock, APenaltyOfTheFinishFrameCountsInThePersonalBestDecision) {
    Headless clean(finishCorridor());
    const int finishFrame = raceCorridor(clean);
    ASSERT_GT(finishFrame, 0);
    const float cleanTime = clean.sim.raceClock();

    // The same run, with a penalty collected during the steps of the frame
    // in which the ball finishes.
    Headless penalised(finishCorridor());
    raceCorridor(penalised, [&](int frame) {
        if (frame == finishFrame) {
            penalised.sim.play().pendingPenalty += 3.0f;
        }
    });
    ASSERT_TRUE(penalised.sim.finished());
    EXPECT_FLOAT_EQ(penalised.sim.raceClock(), cleanTime + 3.0f);

    // A stored best one second slower than the clean run is beaten by the
    // clean run but not by the penalised one.
    const float storedBest = cleanTime + 1.0f;
    FinishSequence cleanFinish;
    ASSERT_TRUE(cleanFinish.score(storedBest, clean.sim.raceClock()));
    EXPECT_TRUE(cleanFinish.newPersonalBest);
    FinishSequence penalisedFinish;
    ASSERT_TRUE(penalisedFinish.score(storedBest, penalised.sim.raceClock()));
    EXPECT_FALSE(penalisedFinish.newPersonalBest);
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
        level.sim.handleEvent(
            press(c.left ? sf::Keyboard::Left : sf::Keyboard::Right, c.shift, c.control));
        level.run(60);
        EXPECT_NEAR(level.sim.viewAngle() - before, c.degrees, 0.01f)
            << "left " << c.left << " shift " << c.shift << " control " << c.control << " inverted "
            << c.inverted;
        // The world's gravity follows the unwrapped angle.
        const b2Vec2 expected = gravityForViewAngle(level.sim.viewAngle());
        EXPECT_EQ(level.sim.play().gravity, expected);
    }
}

TEST(KeyFlags, FollowTheRulesOfTheKeyEvents) {
    Headless level(finishCorridor());
    LevelSimulation& sim = level.sim;
    sim.handleEvent(press(sf::Keyboard::Left));
    sim.handleEvent(press(sf::Keyboard::Right));
    EXPECT_TRUE(sim.keys().rightHeld);
    EXPECT_FALSE(sim.keys().leftHeld) << "pressing one turn key clears the other";
    sim.handleEvent(release(sf::Keyboard::Right));
    EXPECT_FALSE(sim.keys().rightHeld);
    EXPECT_FALSE(sim.keys().leftHeld) << "Left stays off although still held";

    // Modifiers come from every key event, whatever its key.
    sim.handleEvent(press(sf::Keyboard::Left, true, false));
    EXPECT_TRUE(sim.keys().shiftHeld);
    sim.handleEvent(press(sf::Keyboard::A));
    EXPECT_FALSE(sim.keys().shiftHeld);
    sim.handleEvent(release(sf::Keyboard::B, false, true));
    EXPECT_TRUE(sim.keys().controlHeld);

    sim.handleEvent(press(sf::Keyboard::Up));
    sim.handleEvent(press(sf::Keyboard::Down));
    EXPECT_TRUE(sim.keys().downPressed);
    EXPECT_FALSE(sim.keys().upPressed);
    sim.handleEvent(release(sf::Keyboard::Down));
    EXPECT_FALSE(sim.keys().downPressed);

    sim.handleEvent(press(sf::Keyboard::Space));
    EXPECT_TRUE(sim.play().jumpRequested);
    sim.handleEvent(release(sf::Keyboard::Space));
    EXPECT_FALSE(sim.play().jumpRequested);
    sim.handleEvent(press(sf::Keyboard::Return));
    sim.handleEvent(release(sf::Keyboard::Return));
    EXPECT_TRUE(sim.play().jumpRequested) << "releasing Return keeps the jump";

    EXPECT_FALSE(sim.keys().pauseRequested);
    sim.handleEvent(press(sf::Keyboard::Escape));
    EXPECT_TRUE(sim.keys().pauseRequested);

    // A new level starts with every flag off.
    sim.buildLevel(finishCorridor());
    EXPECT_FALSE(sim.keys().leftHeld || sim.keys().controlHeld || sim.keys().pauseRequested);
    EXPECT_FALSE(sim.play().jumpRequested);
}

TEST(PuzzleRule, FinishesWhenNoColourTargetIsLeft) {
    // The red ball drops through a blue switch onto a blue target.
    const TileMap shaft = levelFromRows({
        "###",
        "#1#",
        "#s#",
        "# #",
        "#t#",
        "###",
    });
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

    // A red ball does not break a blue target.
    Headless wrongColour(levelFromRows({"###", "#1#", "# #", "#t#", "###"}), puzzleMode);
    wrongColour.passCountdown();
    wrongColour.run(180);
    EXPECT_EQ(wrongColour.sim.colourTargetsLeft(), 1);
    EXPECT_FALSE(wrongColour.sim.finished());
}
