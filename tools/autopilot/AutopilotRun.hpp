#pragma once

#include <functional>
#include <string>

#include "autopilot/Autopilot.hpp"
#include "sim/play/FrameTicks.hpp"
#include "sim/run/RecordedRun.hpp"

class LevelSimulation;

// The frame time of the game window at about 60 frames per second, in the
// whole ticks the window hands over.
constexpr float autopilotFrameTime = FrameTicks::seconds(17);

// Sees the simulation after every frame of the run found (traces, tools).
using AutopilotWatcher = std::function<void(const LevelSimulation&)>;

// Lets the autopilot play the level just built in `simulation`, one decision
// per frame, until the level is finished or `maxSeconds` of frames (the
// countdown included) have passed. It practises on copies of the level: after
// a penalty or when stuck it tries again from a little earlier, flying a
// little differently, and keeps the try that got furthest. The run found is
// then played in `simulation`, appended to `run`, and its finishing time set
// (-1 when the level was not finished).
void flyLevel(LevelSimulation& simulation, RecordedRun& run, const AutopilotTuning& tuning,
              float maxSeconds, float frameTime = autopilotFrameTime,
              const AutopilotWatcher& afterFrame = nullptr);

// The same from the level file: builds it with no pictures and plays it.
RecordedRun flyLevel(const std::string& levelFile, const std::string& levelName, GameMode mode,
                     const AutopilotTuning& tuning, float maxSeconds,
                     float frameTime = autopilotFrameTime,
                     const AutopilotWatcher& afterFrame = nullptr);
