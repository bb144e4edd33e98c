#pragma once

#include <box2d/b2_math.h>

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/play/LevelSimulation.hpp"
#include "sim/run/RecordedRun.hpp"
#include "sim/run/RunReplay.hpp"

// Where a ball was after some physics step.
struct GhostPose {
    b2Vec2 position{0.0f, 0.0f};  // physics units, y up
    float angle = 0.0f;           // radians

    bool operator==(const GhostPose&) const = default;
};

// A point of the ghost's path: its ball after a step, and its race clock
// (seconds) at the end of the frame that took the step.
struct GhostPoint {
    GhostPose pose;
    float raceClock = 0.0f;
};

// The ball of a recorded run, to be drawn as a ghost where it was after the
// same number of physics steps as the player's world has taken: exact, since
// equal steps are equal game time, whatever the frame times of either run.
//
// The run is replayed in a second headless simulation that keeps pace with the
// questions asked, one of its frames at a time, rather than replayed whole in
// advance: the cost is spread over the race as the same physics again (no
// pause at the start of a level). Its path is kept from the earliest step
// still asked for (forgetBefore) to the furthest replayed, so memory stays a
// few seconds of points instead of one for each of up to 630,000 steps.
class GhostTrack {
  public:
    GhostTrack(RecordedRun run, std::string_view levelBytes);
    GhostTrack(const GhostTrack&) = delete;
    GhostTrack& operator=(const GhostTrack&) = delete;

    // The ghost's ball after `step` physics steps of its run (0: as built).
    // Asking for a step already let go replays from the start (a restart of
    // the player's level). After its last frame the ghost stays where its
    // run ended.
    GhostPose poseAfterStep(long long step);
    // The path from step `from` to step `until` (both included), replayed as
    // far as needed; shorter when the run ends first, empty when it ended
    // before `from`.
    std::span<const GhostPoint> path(long long from, long long until);
    // Steps before `step` will not be asked for again until a restart.
    void forgetBefore(long long step);
    // True once every frame of the run has been replayed.
    bool ended() const { return cursor.done(); }
    // The race clock at the finish the run names, in milliseconds; negative
    // when it names none.
    long long finishMilliseconds() const { return run.finishMilliseconds; }

  private:
    void restart();
    void replayNextFrame();
    void keepPoint();
    GhostPose ballPose() const;
    long long lastKept() const { return firstKept + static_cast<long long>(kept()) - 1; }
    std::size_t kept() const { return points.size() - offset; }

    RecordedRun run;
    std::string levelBytes;
    std::unique_ptr<LevelSimulation> simulation;
    RunCursor cursor{run};
    // The points after steps firstKept on, from points[offset]; the front is
    // let go in bulk.
    std::vector<GhostPoint> points;
    std::size_t offset = 0;
    long long firstKept = 0;
};
