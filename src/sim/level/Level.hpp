#pragma once

#include <box2d/b2_world.h>

#include <map>
#include <memory>
#include <vector>

#include "sim/level/Ball.hpp"
#include "sim/level/ContactListener.hpp"
#include "sim/level/Entity.hpp"

class b2Joint;
struct PlayState;
struct TileMap;

// Everything one level owns in play: its world, the entities by number, the
// ball and the contact listener. Nothing here draws or needs a window, so a
// level can be built and stepped headless.
//
// Members are declared so that the default teardown would already be safe,
// but clear() is what does it: it destroys the entities and the ball before
// the world, while the listener ignores the contact ends that causes.
struct Level {
    // The world box of the physics: a level of up to this many cells each way
    // lies wholly inside (-300, -300)..(300, 300) units.
    static constexpr int maxCells = 234;
    static constexpr float worldBoxHalfSize = 300.0f;
    static constexpr float stepSeconds = 0.0028571428f;  // 1/350 s
    static constexpr int solverIterations = 10;
    // The top speeds the game was tuned for: long falls stop accelerating.
    static constexpr float maxSpeed = 200.0f;         // units per second
    static constexpr float maxAngularSpeed = 250.0f;  // radians per second
    static constexpr float startGravityY = -9.3f;

    Level() = default;
    ~Level();
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    void clear();

    // Entity numbers belong to the level: the first object gets 2 and numbers
    // are never reused, so the map of entities by number is in creation
    // order, and two levels in one process share nothing.
    int takeEntityNumber() { return ++lastEntityNumber; }

    std::unique_ptr<ContactListener> listener;
    std::unique_ptr<b2World> world;
    std::map<int, std::unique_ptr<Entity>> entities;  // all but the ball
    std::unique_ptr<Ball> ball;                       // always present after a build
    std::vector<b2Joint*> bridgeJoints;               // owned by the world
    int columns = 0;                                  // cells built across, at most maxCells
    int rows = 0;                                     // cells built down, at most maxCells
    int ballStarts = 0;                               // ball start tiles in the built cells
    int lastEntityNumber = 1;
};

// Builds a level from its cells. The ball is placed at the first ball start;
// further ball starts are left empty. A map without a ball start still gets
// its ball, at the first empty cell in reading order (or just below the map
// when no cell is empty), so everything that follows the ball can rely on it;
// `ballStarts` tells such a broken level apart. Cells beyond maxCells in
// either direction, and cells the tile list does not reach, stay empty.
//
// Sets play.gravity to the start gravity, play.playerBody to the ball and
// play.jumpCooldown to -1, and empties play.destroyQueue.
std::unique_ptr<Level> buildLevel(const TileMap& map, PlayState& play);

// One fixed physics step of 1/350 s, then the top speeds, and any body that
// left the world box is stopped where it is. False when a moving body's
// position, angle or velocity is no longer a finite number.
bool stepLevel(Level& level);

// Removes the entities that contacts queued and empties the queue; the ball
// is never removed. Call outside the world step.
void destroyQueuedEntities(Level& level, PlayState& play);
