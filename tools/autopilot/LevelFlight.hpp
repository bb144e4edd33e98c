#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "autopilot/AutopilotRun.hpp"

// A level flown as its maker asks the autopilot to: in a few styles of
// flying, keeping the fastest run that finishes.
struct FlightReport {
    RecordedRun run;  // the fastest finished run; unfinished, the last style's
    bool finished = false;
    long long parSeconds = 0;  // set when finished
    // Unfinished: the tile (as the editor counts, from 0) the ball stayed at
    // longest in the last half minute, and the colour targets still standing.
    int stuckX = -1;
    int stuckY = -1;
    int targetsLeft = 0;
};

// The par time of a level the autopilot finished in `milliseconds`: a quarter
// more, rounded up to a whole second. The autopilot knows the whole map from
// the first frame but steers with a player's keys at a player's pace, so a
// player who has learnt the level can beat par, and a first try rarely does.
long long parSeconds(long long milliseconds);

struct FlightPlan {
    std::string levelFile;
    std::string levelName;
    GameMode mode = raceMode;
    std::uint32_t styles = 1;  // styles 0 to styles - 1
    float maxSeconds = 300.0f;
    AutopilotWatcher trace;  // sees every frame of every style's run; may be empty
    // Told of each style's run as it ends.
    std::function<void(std::uint32_t style, const RecordedRun& run)> styleDone;
};

FlightReport flyLevelFile(const FlightPlan& plan);
