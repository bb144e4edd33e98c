#pragma once

#include <box2d/b2_math.h>

#include <map>
#include <vector>

#include "sim/level/TileKinds.hpp"
#include "sim/level/TileMap.hpp"

class b2Body;

// Something a contact did that the player sees or hears. The rules only
// report it; the play screen turns it into sounds, popups and bursts after
// the step, so a run goes the same with or without a screen.
struct ContactEvent {
    enum class Kind {
        knock,          // the ball hit something hard enough to be heard
        blockBroken,    // a breakable block broke
        targetBroken,   // a colour target broke
        switchTouched,  // a switch gave the ball its colour
        penalty,        // a penalty was charged
        finishReached,  // the ball touched the finish and the run ended
    };
    Kind kind = Kind::knock;
    Colour colour = Colour::none;  // of the switch or target
    b2Vec2 position{0.0f, 0.0f};   // world pixels, y down: the body's, or the contact's for a knock
    float degrees = 0.0f;          // the body's angle
    float impactSpeed = 0.0f;      // units per second (knocks)
};

// The state of one run that the contact listener writes during the world step
// and the simulation reads and resets after it.
struct PlayState {
    static constexpr Colour startColour = Colour::red;  // every level starts with a red ball

    bool finished = false;
    bool countdownRunning = true;
    float jumpCooldown = 0.0f;   // seconds; a jump needs it below 0
    float countdownTime = 5.0f;  // seconds to the start horn
    float impactSpeed = 0.0f;    // units per second of the last contact

    // Entities that contacts asked to remove, by entity number. Kept by
    // number, not by pointer, so a stale entry can never reach a freed
    // entity; the simulation empties it once per frame.
    std::map<int, BodyKind> destroyQueue;
    // What the contacts of the current frame did, in order.
    std::vector<ContactEvent> events;

    TileMap tileMap;
    Colour ballColour = startColour;
    Colour requestedColour = startColour;
    float pendingPenalty = 0.0f;  // seconds collected this frame
    bool jumpRequested = false;
    b2Body* playerBody = nullptr;  // not owned
    b2Vec2 gravity{0.0f, -9.3f};   // units per second squared
};
