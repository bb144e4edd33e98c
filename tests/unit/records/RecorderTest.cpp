#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ShippedRun.hpp"
#include "app/GameWindow.hpp"
#include "game/HeadlessLevel.hpp"
#include "game/RunRecorder.hpp"
#include "game/RunVerification.hpp"

namespace {

// How the frames a player's game hands over may differ from a committed run.
using FrameChange = std::function<std::vector<RecordedFrame>(const RecordedFrame&, int)>;

std::vector<RecordedFrame> unchanged(const RecordedFrame& frame, int) {
    return {frame};
}

// Frame times as a real clock measures them: never twice the same.
std::vector<RecordedFrame> unevenTimes(const RecordedFrame& frame, int index) {
    return {{frame.frameTime + 0.0007f * static_cast<float>(index % 7) - 0.002f, frame.events}};
}

// The events arrive in a frame of no time, the frame time in the next one.
std::vector<RecordedFrame> emptyFrameFirst(const RecordedFrame& frame, int) {
    if (frame.events.empty()) {
        return {frame};
    }
    return {{0.0f, frame.events}, {frame.frameTime, {}}};
}

// Now and then a key the format has no name for, with Shift held: in play it
// slows the turning until the next key event.
std::vector<RecordedFrame> otherKeys(const RecordedFrame& frame, int index) {
    RecordedFrame changed = frame;
    if (index % 50 == 0) {
        changed.events.push_back(GameWindow::keyEvent(sf::Keyboard::A, index % 100 == 0, true));
    }
    return {changed};
}

}  // namespace

// What the recorder keeps, written and read back, replays to the very state
// the played simulation reached, however the frames came.
TEST(RunRecorder, RecordedRunsReplayToTheSameFinishAndState) {
    const ShippedRun shipped = loadShippedRun("TheLabyrinth");
    const RecordedRun& source = shipped.run;
    const struct {
        const char* what;
        FrameChange change;
        bool keepsTheRun;  // the played run is still the committed one
    } cases[] = {
        {"unchanged", unchanged, true},
        {"uneven frame times", unevenTimes, false},
        {"frames of no time", emptyFrameFirst, true},
        {"keys without a name", otherKeys, false},
    };
    for (const auto& [what, change, keepsTheRun] : cases) {
        SCOPED_TRACE(what);
        HeadlessLevel played(source.mode, source.turnSpeeds, shipped.levelBytes);
        LevelSimulation& simulation = played.simulation();
        RunRecorder recorder;
        ASSERT_TRUE(recorder.start(simulation, source.levelName, source.levelFile, source.levelId));
        int index = 0;
        // Two seconds more than the run: the recording ends at the finish.
        std::vector<RecordedFrame> frames = source.frames;
        frames.insert(frames.end(), 120, RecordedFrame{1.0f / 60.0f, {}});
        for (const RecordedFrame& given : frames) {
            for (const RecordedFrame& frame : change(given, index++)) {
                for (const sf::Event& event : frame.events) {
                    simulation.handleEvent(event);
                    recorder.event(event);
                }
                const FrameReport report = simulation.advance(frame.frameTime);
                recorder.frame(frame.frameTime, simulation);
                if (report.finishedNow) {
                    EXPECT_FALSE(recorder.recording());
                }
            }
            if (simulation.finished()) {
                break;
            }
        }
        RecordedRun back;
        std::string error;
        ASSERT_TRUE(parseRun(formatRun(recorder.run()), back, error, submittedRunLimits()))
            << error;
        EXPECT_EQ(back.levelSha256, source.levelSha256);
        HeadlessLevel replayed(back.mode, back.turnSpeeds, shipped.levelBytes);
        const ReplayResult result = replayRun(replayed.simulation(), back);
        if (keepsTheRun) {
            EXPECT_EQ(recorder.run().finishMilliseconds, source.finishMilliseconds);
        }
        EXPECT_EQ(result.finishFrame,
                  simulation.finished() ? static_cast<int>(back.frames.size()) - 1 : -1);
        EXPECT_EQ(result.milliseconds, recorder.run().finishMilliseconds);
        EXPECT_EQ(replayed.simulation().stateHash(), simulation.stateHash());
    }
}
