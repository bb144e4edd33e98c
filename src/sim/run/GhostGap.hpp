#pragma once

#include <box2d/b2_math.h>

#include <optional>

class GhostTrack;
class LevelSimulation;

// How far ahead of its ghost the player is, in seconds of race clock, by this
// rule: the ghost's path is where its ball was after each physics step, each
// point with the ghost's race clock at the end of the frame that took the
// step; the player's ball likewise has the clock of its last frame that took
// a step (a frame without one, as when the countdown ends, moved nothing). The
// player's ball is matched to the nearest point of that path,
// searching only forward from the last match and at most lookAheadSteps
// further, and again from there while the nearest lies at the end of that
// reach (the ball is further on); among equally near points the one whose
// clock is nearest the player's wins, so two balls resting alike are level.
// The gap is the player's race clock minus the ghost's at the matched point:
// negative ahead, positive behind. At the player's finish it is the
// difference of the two finish times.
//
// Honest within a frame of either run when the player follows the ghost's
// line: a run racing itself is level to the bit, a copy of it slowed by some
// seconds stays that far behind. Off the ghost's line it compares with where
// the ghost came nearest, and a match never goes back, so a player who rolls
// backwards falls behind by the clock.
class GhostGap {
  public:
    // About two seconds of steps.
    static constexpr long long lookAheadSteps = 700;
    // Reaches searched in one frame at most: about a minute of the ghost's run.
    static constexpr int mostReaches = 30;

    // The gap after the player's frame just played; called after every frame.
    float update(GhostTrack& ghost, const LevelSimulation& player);
    // At the player's finish: the finish times' difference in whole
    // milliseconds, as times are kept; none when the ghost's run names no
    // finish.
    std::optional<float> atFinish(const GhostTrack& ghost, float raceClock) const;
    // The ghost's step matched last: the track need keep nothing before it.
    long long matchedStep() const { return match; }

  private:
    long long match = 0;
    long long playerSteps = 0;
    float playerClock = 0.0f;  // at the player's last frame that took a step
};
