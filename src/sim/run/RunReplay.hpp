#pragma once

#include <cstddef>

#include "sim/play/LevelSimulation.hpp"
#include "sim/run/RecordedRun.hpp"

// Plays a run into a simulation one frame at a time: the frame's inputs,
// then its frame time. The run must outlive the cursor.
class RunCursor {
  public:
    explicit RunCursor(const RecordedRun& run) : run(&run) {}

    bool done() const { return nextFrame >= run->frameCount(); }
    // The index of the frame playNext plays.
    std::size_t frame() const { return nextFrame; }
    // Plays the next frame; nothing when done.
    FrameReport playNext(LevelSimulation& simulation);
    // Back to the first frame (the simulation is the caller's to rebuild).
    void rewind();

  private:
    const RecordedRun* run;
    std::size_t nextFrame = 0;
    std::size_t nextInput = 0;
};

// What a replay did.
struct ReplayResult {
    int framesPlayed = 0;
    int finishFrame = -1;  // index of the frame in which the level became finished
    float raceClock = 0.0f;
    long long milliseconds = -1;  // race clock at the finish; -1 when never finished
    int colourTargetsLeft = 0;
    bool brokenWorld = false;  // the world's state stopped being finite numbers
};

// Plays every frame of the run into a simulation whose level is already built
// (or stops at the first finished frame when `stopAtFinish` is set). Stops
// early, too, when the world breaks (LevelSimulation::brokenWorld).
ReplayResult replayRun(LevelSimulation& simulation, const RecordedRun& run,
                       bool stopAtFinish = false);
