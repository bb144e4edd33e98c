#pragma once

#include <string>
#include <vector>

#include "sim/play/PlayInput.hpp"
#include "sim/run/RecordedRun.hpp"

class LevelSimulation;

// Records the run being played, as it is played: the inputs handed to the
// simulation and the frame time of every frame it advanced by, from the
// level's build to the frame in which the level became finished. Replayed on
// the same level file and physics version, the run finishes in the same frame
// with the same race clock, bit for bit.
//
// In the play screen: start after every level build (a restart is a new run),
// input beside every simulation.handleInput, frame after every
// simulation.advance.
class RunRecorder {
  public:
    // A new run of the level just built in `simulation` from `levelFile`; the
    // run before is dropped. False when the level file cannot be read for its
    // hash: the run is recorded all the same but names no level file.
    bool start(const LevelSimulation& simulation, const std::string& levelName,
               const std::string& levelFile, int levelId);
    // An input handed to the simulation.
    void input(const PlayInput& given);
    // The simulation advanced by `frameTime` after the inputs given since the
    // last frame. In the frame that finishes the level the run takes the race
    // clock and the recording ends; later calls change nothing.
    void frame(float frameTime, const LevelSimulation& simulation);

    bool recording() const { return started && !finished(); }
    bool finished() const { return recorded.finishMilliseconds >= 0; }
    const RecordedRun& run() const { return recorded; }

  private:
    RecordedRun recorded;
    std::vector<PlayInput> pending;
    bool started = false;
};
