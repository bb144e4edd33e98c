#pragma once

#include <box2d/b2_math.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "autopilot/NavigationGrid.hpp"
#include "autopilot/PathField.hpp"
#include "autopilot/PilotKeys.hpp"

class LevelSimulation;
struct Level;

// How boldly the autopilot flies. Speeds in units per second, lengths in
// units, times in seconds.
struct AutopilotTuning {
    float lookAhead = 6.0f;      // how far along the way it looks for a point to aim at
    float cornerSpeed = 9.0f;    // speed it accepts where the way bends out of sight
    float braking = 30.0f;       // deceleration it counts on to get down to that speed
    float goalSpeed = 25.0f;     // extra speed allowed when it can see the goal itself
    float rammingSpeed = 40.0f;  // at least this fast at a block it must break (26 breaks it)
    float deadAngle = 1.0f;      // degrees off the wanted angle that are left alone
    float penaltyMargin = 1.0f;  // what it aims at keeps the ball this far off penalties
    float angleBias = 0.0f;      // degrees added to the angle it turns the world to
    float stuckSeconds = 2.5f;   // no progress for this long: shake the ball loose
    float shakeSeconds = 0.6f;
    // 0 flies as tuned above; any other number a steady variation of it, the
    // same for the same number: a way to try several lines through a level.
    std::uint32_t style = 0;
    PathCosts costs;
};

// A player that knows the level's map and sees the ball: each frame it looks
// where the ball is and how it moves, and answers with the key events of its
// hands (Left and Right with Shift or Control, Space), nothing else. Gravity
// follows the world's angle, so it turns the world until gravity points where
// the ball should accelerate: towards a point on the cheapest way to its goal
// that it can see, minus the velocity it should lose before the next bend.
//
// Its goal in "Race" is the finish. In "Puzzle" it is the nearest target of
// the ball's colour; when none can be reached, the switch of a colour whose
// targets can then be reached, the nearest way round.
class Autopilot {
  public:
    explicit Autopilot(AutopilotTuning tuning = {});

    // The key inputs for the next frame of `simulation`, whose level must be
    // built; call once per frame before the frame is advanced.
    std::vector<PlayInput> nextFrame(const LevelSimulation& simulation, float frameTime);

    // Flies a little differently for the next `seconds` of frames: bolder or
    // more careful, aiming a little to one side; the same seed gives the same
    // difference. Used to try another line where the last one went wrong.
    void vary(std::uint32_t seed, float seconds);

    // How often it found itself stuck and began to shake the ball loose.
    int timesStuck() const { return shakes; }

  private:
    void planIfNeeded(const LevelSimulation& simulation);
    void plan(const LevelSimulation& simulation);
    void planRace(const Level& level);
    void planPuzzle(const Level& level, Colour ballColour, int ballPoint);
    b2Vec2 wantedAcceleration(const b2Vec2& position, const b2Vec2& velocity, int start);
    PilotCommand steer(const LevelSimulation& simulation, const b2Vec2& gravityWanted,
                       float frameTime) const;
    void watchProgress(float cost, float frameTime);
    static float variation(std::uint32_t seed, std::uint32_t slot);
    // `base` flown bolder or more carefully, aiming a little to one side, by
    // up to `amount` (1: the most).
    static AutopilotTuning varied(const AutopilotTuning& base, std::uint32_t seed, float amount);
    float costAt(int index) const { return field ? field->cost(index) : PathField::unreachable; }

    AutopilotTuning usual;
    AutopilotTuning tuning;  // the usual one, or a variation of it for a while
    float variedFor = 0.0f;  // seconds
    PilotKeys keys;
    // Shared between copies of a pilot: a copy is a cheap checkpoint, and a
    // new plan makes new objects rather than changing these.
    std::shared_ptr<const NavigationGrid> grid;
    std::shared_ptr<const PathField> field;
    std::vector<b2Vec2> goalCentres;  // the goal bodies: aimed at once in sight
    Colour plannedColour = Colour::none;
    bool planned = false;

    float bestCost = PathField::unreachable;
    float sinceProgress = 0.0f;
    float shaking = 0.0f;
    int shakes = 0;
};
