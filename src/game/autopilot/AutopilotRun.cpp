#include "game/autopilot/AutopilotRun.hpp"

#include <cmath>

#include "game/LevelSimulation.hpp"
#include "level/TileImages.hpp"

void flyLevel(LevelSimulation& simulation, RecordedRun& run, const AutopilotTuning& tuning,
              float maxSeconds, float frameTime, const AutopilotWatcher& afterFrame) {
    run.finishMilliseconds = -1;
    Autopilot pilot(tuning);
    const long long frameBudget = std::llround(maxSeconds / frameTime);
    for (long long frame = 0; frame < frameBudget; ++frame) {
        RecordedFrame recorded{frameTime, pilot.nextFrame(simulation, frameTime)};
        const FrameReport report = simulation.advance(recorded.frameTime, recorded.events);
        run.frames.push_back(std::move(recorded));
        if (afterFrame) {
            afterFrame(simulation, pilot);
        }
        if (report.finishedNow) {
            run.finishMilliseconds = raceMilliseconds(simulation.raceClock());
            return;
        }
    }
}

RecordedRun flyLevel(const std::string& levelFile, const std::string& levelName, GameMode mode,
                     const AutopilotTuning& tuning, float maxSeconds, float frameTime,
                     const AutopilotWatcher& afterFrame) {
    RecordedRun run;
    run.levelName = levelName;
    run.levelFile = levelFile;
    run.mode = mode;
    TileImages noPictures;
    LevelSimulation simulation(noPictures, mode, TurnSpeeds());
    if (simulation.loadLevel(levelFile)) {
        flyLevel(simulation, run, tuning, maxSeconds, frameTime, afterFrame);
    }
    return run;
}
