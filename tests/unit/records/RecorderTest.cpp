#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ShippedRun.hpp"
#include "app/GameWindow.hpp"
#include "game/HeadlessLevel.hpp"
#include "game/RunRecorder.hpp"
#include "game/RunVerification.hpp"

// What the recorder keeps, written and read back as a submitted run, replays
// to the state the played simulation had in its finishing frame (or its last).
TEST(RunRecorder, RecordedRunsReplayToTheSameFinishAndState) {
    const ShippedRun shipped = loadShippedRun("TheLabyrinth");
    const RecordedRun& source = shipped.run;
    // Row 0 plays the committed run, followed by two seconds more. Row 1 gives
    // every frame's events in a frame of no time first: the same run. Row 2
    // adds a key without a name, with Shift, which slows the turning.
    for (int row = 0; row < 3; ++row) {
        HeadlessLevel played(source.mode, source.turnSpeeds, shipped.levelBytes);
        LevelSimulation& simulation = played.simulation();
        RunRecorder recorder;
        ASSERT_TRUE(recorder.start(simulation, source.levelName, source.levelFile, source.levelId));
        std::vector<RecordedFrame> frames;
        for (std::size_t i = 0; i < source.frames.size() + 120; ++i) {
            RecordedFrame frame =
                i < source.frames.size() ? source.frames[i] : RecordedFrame{0.02f, {}};
            if (row == 1) {
                frames.push_back({0.0f, std::move(frame.events)});
                frame.events.clear();
            } else if (row == 2 && i % 50 == 0) {
                frame.events.push_back(GameWindow::keyEvent(sf::Keyboard::A, i % 100 == 0, true));
            }
            frames.push_back(std::move(frame));
        }
        std::optional<std::uint64_t> stateAtFinish;
        for (const RecordedFrame& frame : frames) {
            for (const sf::Event& event : frame.events) {
                simulation.handleEvent(event);
                recorder.event(event);
            }
            simulation.advance(frame.frameTime);
            recorder.frame(frame.frameTime, simulation);
            if (recorder.finished() && !stateAtFinish) {
                stateAtFinish = simulation.stateHash();
            }
        }
        RecordedRun back;
        std::string error;
        ASSERT_TRUE(parseRun(formatRun(recorder.run()), back, error, submittedRunLimits()))
            << error;
        HeadlessLevel replayed(back.mode, back.turnSpeeds, shipped.levelBytes);
        const ReplayResult result = replayRun(replayed.simulation(), back);
        EXPECT_EQ(result.finishFrame,
                  recorder.finished() ? static_cast<int>(back.frames.size()) - 1 : -1);
        EXPECT_EQ(result.milliseconds, recorder.run().finishMilliseconds);
        EXPECT_EQ(replayed.simulation().stateHash(),
                  stateAtFinish.value_or(simulation.stateHash()));
        if (row < 2) {
            EXPECT_EQ(back.frames.size(), source.frames.size()) << row;
            EXPECT_EQ(result.milliseconds, source.finishMilliseconds) << row;
        }
    }
}
