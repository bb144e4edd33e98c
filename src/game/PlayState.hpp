#pragma once

#include <box2d/b2_math.h>

#include <SFML/System/Vector2.hpp>

#include <map>
#include <vector>

#include "level/TileMap.hpp"

class b2Body;

// A burst of particles asked for by a contact, at a world pixel position
// (y down). Codes 0..5 are colour indices, 99 a broken block, 666 a penalty.
struct ContactEvent {
    float x = 0.0f;
    float y = 0.0f;
    float code = 0.0f;
};

// A shrinking picture asked for by a contact: the play screen makes the live
// popup from it, so contacts need no window or texture.
struct PopupRequest {
    int imageIndex = 0;     // into the tile image table
    sf::Vector2f position;  // world pixels, y down
    float rotation = 0.0f;  // degrees
    sf::Vector2f scale{1.0f, 1.0f};
    float duration = 0.0f;  // seconds until it has shrunk to nothing
};

// The state of one run that the contact listener writes during the world step
// and the play screen reads and resets after it.
struct PlayState {
    static constexpr int startColour = 4;  // every level starts with a red ball

    float finishFlash = 0.0f;  // 0..1, brightens the background after the finish
    bool finished = false;
    bool countdownRunning = true;
    float jumpCooldown = 0.0f;   // seconds; a jump needs it below 0
    float countdownTime = 5.0f;  // seconds to the start horn
    float impactSpeed = 0.0f;    // units per second of the last contact

    // Entities that contacts asked to remove: entity number -> body kind. Kept
    // by number, not by pointer, so a stale entry can never reach a freed
    // entity; the play screen empties it once per frame.
    std::map<int, int> destroyQueue;
    std::vector<PopupRequest> popupRequests;

    TileMap tileMap;
    int ballColour = startColour;
    int requestedColour = startColour;
    float pendingPenalty = 0.0f;  // seconds collected this frame
    bool jumpRequested = false;
    b2Body* playerBody = nullptr;  // not owned
    b2Vec2 gravity{0.0f, -9.3f};   // units per second squared
    std::vector<ContactEvent> contactEvents;
};
