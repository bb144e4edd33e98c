#include "sim/run/RunReplay.hpp"

FrameReport RunCursor::playNext(LevelSimulation& simulation) {
    if (done()) {
        return {};
    }
    const std::vector<RecordedInput>& inputs = run->inputs;
    while (nextInput < inputs.size() && inputs[nextInput].frame == nextFrame) {
        simulation.handleInput(inputs[nextInput].input);
        ++nextInput;
    }
    return simulation.advance(run->frameTimes[nextFrame++]);
}

void RunCursor::rewind() {
    nextFrame = 0;
    nextInput = 0;
}

ReplayResult replayRun(LevelSimulation& simulation, const RecordedRun& run, bool stopAtFinish) {
    ReplayResult result;
    RunCursor cursor(run);
    while (!cursor.done()) {
        const FrameReport report = cursor.playNext(simulation);
        if (report.finishedNow && result.finishFrame < 0) {
            result.finishFrame = result.framesPlayed;
            result.milliseconds = raceMilliseconds(simulation.raceClock());
        }
        ++result.framesPlayed;
        if (simulation.brokenWorld()) {
            result.brokenWorld = true;
            break;
        }
        if (stopAtFinish && result.finishFrame >= 0) {
            break;
        }
    }
    result.raceClock = simulation.raceClock();
    result.colourTargetsLeft = simulation.colourTargetsLeft();
    return result;
}
