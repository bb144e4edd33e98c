#pragma once

#include <box2d/b2_math.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "sim/base/GameMode.hpp"
#include "sim/level/PlayState.hpp"
#include "sim/play/ControlKeys.hpp"
#include "sim/play/PlayInput.hpp"
#include "sim/play/TurnSpeeds.hpp"

struct Level;
struct TileMap;

// What a frame of the simulation did that the screen turns into sound and
// animation. The simulation itself plays nothing.
struct FrameReport {
    int worldSteps = 0;
    bool hornSounded = false;     // the countdown ran out: the race is on
    bool colourChanged = false;   // the ball took the colour a switch asked for
    bool impactReaction = false;  // a hard knock: the face pulls a new expression
    bool finishedNow = false;     // the level became finished in this frame
};

// The end state of a run, for comparing two runs float for float.
struct SimulationSnapshot {
    b2Vec2 ballPosition{0.0f, 0.0f};
    b2Vec2 ballVelocity{0.0f, 0.0f};
    float ballAngle = 0.0f;
    float ballSpin = 0.0f;
    float raceClock = 0.0f;
    float viewAngle = 0.0f;
    bool finished = false;

    bool operator==(const SimulationSnapshot&) const = default;
};

// One level in play with no window, no pictures and no clock of its own: the
// physics world with its fixed steps, the turning of the world and the gravity
// that follows it, the camera target, the start countdown, the race clock with
// its penalties, the destroy queue, the colour of the ball and the finish
// rules. It advances only by the frame times and key events it is given, so
// the play screen, the tests, recorded runs and the benchmarks all go the same
// way, and the same inputs always give the same end state, bit for bit.
//
// One frame is: key events (handleEvent), then advance(frame time).
class LevelSimulation {
  public:
    static constexpr float countdownSeconds = 5.0f;
    // Knocks harder than this (units per second) make the face react.
    static constexpr float reactionSpeed = 20.0f;
    // Recorded runs name the version they were played with, and only runs of
    // this version are replayed. Bump it with any change that moves a ball
    // differently (the simulation, level construction, contact rules, compiler
    // flags of the core, the physics library): the sign is that the committed
    // runs in levels/runs stop replaying. 2: neighbouring bridge blocks share
    // one rod instead of two. 3: Box2D built with the game, its rotations and
    // the gravity taking a sine and cosine of our own that give the same bits
    // on every CPU, and a jump straight against gravity.
    static constexpr int physicsVersion = 3;

    LevelSimulation(GameMode mode, TurnSpeeds speeds);
    ~LevelSimulation();
    LevelSimulation(const LevelSimulation&) = delete;
    LevelSimulation& operator=(const LevelSimulation&) = delete;

    // Reads the level file and builds it. False when the file could not be
    // read or is no level (the reason goes to standard error); a level is
    // built all the same (from no cells: only the ball).
    bool loadLevel(const std::string& path);
    // The same from a level file's bytes already in memory.
    void loadLevelBytes(std::string_view bytes);
    // Builds a level from cells already in memory.
    void buildLevel(const TileMap& map);
    // Deletes the world, its entities, the ball and the contact listener.
    void clearLevel();

    // A key press or release or a pad's turn.
    void handleInput(const PlayInput& input);

    // The rest of one play frame, in the game's order: the world steps, the
    // world turns (updateRotation), and the penalties of the frame reach the
    // race clock. The contact events of the previous frame are dropped first:
    // the screen takes them after each call. A world whose state turned
    // non-finite (brokenWorld) no longer steps.
    FrameReport advance(float frameTime);
    // Inputs, then advance: one recorded frame.
    FrameReport advance(float frameTime, std::span<const PlayInput> inputs);

    // Fixed steps of 1/350 s, as many as the accumulated frame time allows;
    // none during the countdown, when no time accumulates either.
    int stepWorld(float frameTime);
    // Fixed steps since the level was built: two runs of a level are at the
    // same point of their physics after the same number of steps, whatever
    // their frame times.
    long long stepsTaken() const { return steps; }
    // Called after every fixed step (a ghost follows a replay step by step);
    // empty to stop.
    void setStepObserver(std::function<void()> observer) { stepObserver = std::move(observer); }
    // Colour, impact reaction, countdown, destroy queue, turning, clock,
    // camera, gravity, jump cooldown and the puzzle rule, in that order.
    FrameReport updateRotation(float frameTime);

    PlayState& play() { return state; }
    const PlayState& play() const { return state; }
    Level* level() { return current.get(); }
    const Level* level() const { return current.get(); }
    ControlKeys& keys() { return controls; }
    const ControlKeys& keys() const { return controls; }
    const TurnSpeeds& turnSpeeds() const { return speeds; }
    GameMode mode() const { return gameMode; }

    // The view's rotation in degrees, never wrapped.
    float viewAngle() const { return angle; }
    // Seconds of racing, penalties included.
    float raceClock() const { return clock; }
    // World pixels (y down) of the ball: where the camera looks.
    b2Vec2 cameraCentre() const { return camera; }
    Colour ballColour() const { return shownColour; }
    float accumulator() const { return stepAccumulator; }
    bool finished() const { return state.finished; }
    // True once a body, the view angle or the clock stopped being a finite
    // number: no run of the game gets there, only a run crafted to break the
    // physics, and such a world is stopped rather than stepped on.
    bool brokenWorld() const { return broken; }
    int colourTargetsLeft() const { return targetsLeft; }

    SimulationSnapshot snapshot() const;
    // A hash of every body's position, angle and velocity, the race clock and
    // the view angle: equal hashes mean equal runs.
    std::uint64_t stateHash() const;

  private:
    void resetForLevel();
    void applyColourRequest(FrameReport& report);
    void runCountdown(float frameTime, FrameReport& report);
    void turnWorld(float frameTime);
    void followBall();
    void applyPuzzleRule();
    void checkFinite();
    // Entities go only through the destroy queue, so the count of targets is
    // kept instead of walking every entity in every frame of a puzzle.
    int countColourTargets() const;

    GameMode gameMode;
    TurnSpeeds speeds;

    PlayState state;
    std::unique_ptr<Level> current;
    ControlKeys controls;
    float angle = 0.0f;
    float clock = 0.0f;
    float stepAccumulator = 0.0f;
    long long steps = 0;
    std::function<void()> stepObserver;
    b2Vec2 camera{0.0f, 0.0f};
    Colour shownColour = PlayState::startColour;
    int targetsLeft = 0;
    bool broken = false;
};
