#pragma once

#include <box2d/b2_math.h>

#include <cstddef>
#include <memory>
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

// The ball of a recorded run, to be drawn as a ghost where it was after the
// same number of physics steps as the player's world has taken: exact, since
// equal steps are equal game time, whatever the frame times of either run.
//
// The run is replayed in a second headless simulation that keeps pace with the
// questions asked, one of its frames at a time, rather than replayed whole in
// advance: the cost is spread over the race as the same physics again (no
// pause at the start of a level), and memory stays one frame's steps instead of
// a pose for each of up to 630,000 steps.
class GhostTrack {
  public:
    GhostTrack(RecordedRun run, std::string_view levelBytes);
    GhostTrack(const GhostTrack&) = delete;
    GhostTrack& operator=(const GhostTrack&) = delete;

    // The ghost's ball after `step` physics steps of its run (0: as built).
    // Asking for an earlier step than the last answer replays from the start
    // (a restart of the player's level). After its last frame the ghost stays
    // where its run ended.
    GhostPose poseAfterStep(long long step);
    // True once every frame of the run has been replayed.
    bool ended() const { return cursor.done(); }

  private:
    void restart();
    void replayNextFrame();
    GhostPose ballPose() const;

    RecordedRun run;
    std::string levelBytes;
    std::unique_ptr<LevelSimulation> simulation;
    RunCursor cursor{run};
    // The poses of the last replayed frame: after step firstStep, then after
    // each step of the frame.
    long long firstStep = 0;
    std::vector<GhostPose> frameSteps;
};
