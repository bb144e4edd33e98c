#include "sim/play/LevelSimulation.hpp"

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>

#include <cmath>
#include <cstring>

#include "sim/level/Level.hpp"
#include "sim/level/TileKinds.hpp"
#include "sim/level/TileMap.hpp"
#include "sim/level/Units.hpp"
#include "sim/play/Gravity.hpp"

namespace {

// FNV-1a over the exact bytes of the values, so a difference in the last bit
// of a float shows.
class StateHasher {
  public:
    void add(float value) {
        unsigned char bytes[sizeof value];
        std::memcpy(bytes, &value, sizeof value);
        for (unsigned char byte : bytes) {
            hash = (hash ^ byte) * prime;
        }
    }
    void add(const b2Vec2& value) {
        add(value.x);
        add(value.y);
    }
    void add(bool value) { add(value ? 1.0f : 0.0f); }
    std::uint64_t value() const { return hash; }

  private:
    static constexpr std::uint64_t prime = 1099511628211ull;
    std::uint64_t hash = 14695981039346656037ull;
};

}  // namespace

LevelSimulation::LevelSimulation(GameMode mode, TurnSpeeds speeds)
    : gameMode(mode), speeds(speeds) {}

LevelSimulation::~LevelSimulation() {
    clearLevel();
}

bool LevelSimulation::loadLevel(const std::string& path) {
    const bool read = readTileMap(state.tileMap, path.c_str());
    buildLevel(state.tileMap);
    return read;
}

void LevelSimulation::loadLevelBytes(std::string_view bytes) {
    parseTileMap(state.tileMap, bytes);
    buildLevel(state.tileMap);
}

void LevelSimulation::buildLevel(const TileMap& map) {
    clearLevel();
    if (&map != &state.tileMap) {
        state.tileMap = map;
    }
    resetForLevel();
    current = ::buildLevel(state.tileMap, state);
    targetsLeft = countColourTargets();
    followBall();
}

void LevelSimulation::clearLevel() {
    current.reset();
    state.playerBody = nullptr;
    targetsLeft = 0;
}

// What every level starts from. The impact speed is left alone: a knock
// reported just before a restart may still make the face react once.
void LevelSimulation::resetForLevel() {
    controls.reset();
    state.jumpRequested = false;
    state.finished = false;
    state.countdownRunning = true;
    state.countdownTime = countdownSeconds;
    state.jumpCooldown = 0.0f;
    state.pendingPenalty = 0.0f;
    state.ballColour = PlayState::startColour;
    state.requestedColour = PlayState::startColour;
    state.destroyQueue.clear();
    state.events.clear();
    shownColour = PlayState::startColour;
    angle = 0.0f;
    clock = 0.0f;
    stepAccumulator = 0.0f;
    steps = 0;
    broken = false;
}

void LevelSimulation::handleInput(const PlayInput& input) {
    applyInput(controls, state.jumpRequested, input);
}

FrameReport LevelSimulation::advance(float frameTime, std::span<const PlayInput> inputs) {
    for (const PlayInput& input : inputs) {
        handleInput(input);
    }
    return advance(frameTime);
}

FrameReport LevelSimulation::advance(float frameTime) {
    state.events.clear();
    const bool wasFinished = state.finished;
    const int steps = stepWorld(frameTime);
    FrameReport report = updateRotation(frameTime);
    report.worldSteps = steps;
    // Penalties reach the clock in the frame they were collected, before the
    // screen scores a finish: a penalty taken on the way to the finish line
    // belongs to the time of that run.
    if (state.pendingPenalty > 0.0f) {
        clock += state.pendingPenalty;
        state.pendingPenalty = 0.0f;
    }
    report.finishedNow = !wasFinished && state.finished;
    checkFinite();
    return report;
}

int LevelSimulation::stepWorld(float frameTime) {
    if (state.countdownRunning || !current || broken) {
        return 0;
    }
    stepAccumulator += frameTime;
    int taken = 0;
    // No cap on the steps of one frame: the game window already limits a
    // frame to a quarter of a second.
    while (stepAccumulator >= Level::stepSeconds && !broken) {
        broken = !stepLevel(*current);
        stepAccumulator -= Level::stepSeconds;
        ++steps;
        ++taken;
        if (stepObserver) {
            stepObserver();
        }
    }
    return taken;
}

FrameReport LevelSimulation::updateRotation(float frameTime) {
    FrameReport report;
    applyColourRequest(report);
    if (state.impactSpeed > reactionSpeed) {
        report.impactReaction = true;
        state.impactSpeed = 0.0f;
    }
    runCountdown(frameTime, report);
    if (current && !state.destroyQueue.empty()) {
        destroyQueuedEntities(*current, state);
        targetsLeft = countColourTargets();
    }
    turnWorld(frameTime);
    followBall();
    state.gravity = gravityForViewAngle(angle);
    if (current && current->world) {
        current->world->SetGravity(state.gravity);
    }
    if (state.jumpCooldown >= 0.0f) {
        state.jumpCooldown -= frameTime;
    }
    applyPuzzleRule();
    return report;
}

void LevelSimulation::applyColourRequest(FrameReport& report) {
    if (state.requestedColour != shownColour) {
        shownColour = state.requestedColour;
        report.colourChanged = true;
    }
    state.ballColour = shownColour;
}

void LevelSimulation::runCountdown(float frameTime, FrameReport& report) {
    if (state.countdownTime <= 0.0f) {
        return;
    }
    state.countdownTime -= frameTime;
    if (state.countdownTime <= 0.0f) {
        state.countdownRunning = false;
        report.hornSounded = true;
    }
}

// The clock and the turn keys work only between the horn and the finish;
// the camera and gravity follow every frame regardless.
void LevelSimulation::turnWorld(float frameTime) {
    if (state.finished || state.countdownRunning) {
        return;
    }
    clock += frameTime;
    angle += turnRate(controls, speeds) * frameTime;
}

void LevelSimulation::checkFinite() {
    if (!std::isfinite(angle) || !std::isfinite(clock) || !std::isfinite(stepAccumulator)) {
        broken = true;
    }
}

void LevelSimulation::followBall() {
    if (!current || !current->ball || current->ball->body() == nullptr) {
        return;
    }
    camera = pixelsOf(current->ball->body()->GetPosition());
}

// A puzzle is done when no colour target is left; this holds from the first
// frame on, so a puzzle level without targets is finished at once.
void LevelSimulation::applyPuzzleRule() {
    if (gameMode == puzzleMode && !state.finished && colourTargetsLeft() == 0) {
        state.finished = true;
    }
}

int LevelSimulation::countColourTargets() const {
    if (!current) {
        return 0;
    }
    int targets = 0;
    for (const auto& [number, entity] : current->entities) {
        if (entity->kind() == BodyKind::colourTarget) {
            ++targets;
        }
    }
    return targets;
}

SimulationSnapshot LevelSimulation::snapshot() const {
    SimulationSnapshot shot;
    if (current && current->ball && current->ball->body() != nullptr) {
        const b2Body& ball = *current->ball->body();
        shot.ballPosition = ball.GetPosition();
        shot.ballVelocity = ball.GetLinearVelocity();
        shot.ballAngle = ball.GetAngle();
        shot.ballSpin = ball.GetAngularVelocity();
    }
    shot.raceClock = clock;
    shot.viewAngle = angle;
    shot.finished = state.finished;
    return shot;
}

std::uint64_t LevelSimulation::stateHash() const {
    StateHasher hasher;
    hasher.add(clock);
    hasher.add(angle);
    hasher.add(stepAccumulator);
    hasher.add(state.finished);
    hasher.add(static_cast<float>(colourIndex(shownColour)));
    if (!current || !current->world) {
        return hasher.value();
    }
    // The world's body list has a fixed order for a given history of
    // creations and destructions, so equal runs visit the bodies alike.
    for (const b2Body* body = current->world->GetBodyList(); body != nullptr;
         body = body->GetNext()) {
        hasher.add(body->GetPosition());
        hasher.add(body->GetAngle());
        hasher.add(body->GetLinearVelocity());
        hasher.add(body->GetAngularVelocity());
    }
    return hasher.value();
}
