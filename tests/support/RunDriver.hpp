#pragma once

#include <cstdint>

#include "ScriptedGame.hpp"
#include "game/PlayScreen.hpp"
#include "sim/run/RecordedRun.hpp"

// Plays a level in the play screen with the keys of a recorded run: hands the
// screen the run's inputs in the frames they were recorded for, then Space
// once the finish flash is over. The game should run at the run's frame time.
// Closes the window after `frameLimit` frames.
class RunDriver {
  public:
    RunDriver(ScriptedGame& game, PlayScreen& screen, const RecordedRun& run,
              std::uint64_t frameLimit = 60u * 120u);

  private:
    void onFrame(GameWindow& window);

    PlayScreen& screen;
    const RecordedRun& run;
    std::uint64_t frameLimit;
    bool started = false;
    bool spaceSent = false;
};
