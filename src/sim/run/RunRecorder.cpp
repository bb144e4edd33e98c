#include "sim/run/RunRecorder.hpp"

#include "sim/play/LevelSimulation.hpp"
#include "sim/run/LevelStamp.hpp"

bool RunRecorder::start(const LevelSimulation& simulation, const std::string& levelName,
                        const std::string& levelFile, int levelId) {
    recorded = RecordedRun();
    recorded.levelName = levelName;
    recorded.mode = simulation.mode();
    recorded.turnSpeeds = simulation.turnSpeeds();
    pending.clear();
    started = true;
    return stampLevelFile(recorded, levelFile, levelId);
}

void RunRecorder::input(const PlayInput& given) {
    if (recording()) {
        pending.push_back(given);
    }
}

void RunRecorder::frame(float frameTime, const LevelSimulation& simulation) {
    if (!recording()) {
        return;
    }
    // A frame of no time changes nothing but the keys, so its inputs go with
    // the next frame: the run stays the same and every frame it keeps has a
    // length, as a submitted run must.
    if (frameTime <= 0.0f && !simulation.finished()) {
        return;
    }
    recorded.addFrame(frameTime, pending);
    pending.clear();
    if (simulation.finished()) {
        recorded.finishMilliseconds = raceMilliseconds(simulation.raceClock());
    }
}
