#pragma once

#include <box2d/b2_math.h>

#include <SFML/System/Vector2.hpp>

#include <map>
#include <vector>

#include "level/TileKinds.hpp"
#include "level/TileMap.hpp"

class b2Body;

// A burst of particles asked for by a contact.
struct ContactEvent {
    enum class Kind {
        colour,       // a switch touched or a target broken: stars of its colour
        brokenBlock,  // brown stars
        penalty,      // a floating "3 s" sign
    };
    Kind kind = Kind::colour;
    Colour colour = Colour::none;  // of the switch or target
    sf::Vector2f position;         // world pixels, y down
};

// A shrinking picture asked for by a contact: the play screen makes the live
// popup from it, so contacts need no window or texture.
struct PopupRequest {
    int imageIndex = 0;     // into the tile image table
    sf::Vector2f position;  // world pixels, y down
    float rotation = 0.0f;  // degrees
    float duration = 0.0f;  // seconds until it has shrunk to nothing
};

// A sound asked for by a contact: the play screen plays it after the step, so
// the rules need no mixer and a run plays the same with or without sound.
struct SoundRequest {
    enum class Kind { knock, brokenBlock, penalty, target };
    Kind kind = Kind::knock;
    float volume = 1.0f;  // factor 0..1 of the sound's full volume
};

// The state of one run that the contact listener writes during the world step
// and the play screen reads and resets after it.
struct PlayState {
    static constexpr Colour startColour = Colour::red;  // every level starts with a red ball

    float finishFlash = 0.0f;  // 0..1, brightens the background after the finish
    bool finished = false;
    bool countdownRunning = true;
    float jumpCooldown = 0.0f;   // seconds; a jump needs it below 0
    float countdownTime = 5.0f;  // seconds to the start horn
    float impactSpeed = 0.0f;    // units per second of the last contact

    // Entities that contacts asked to remove, by entity number. Kept by
    // number, not by pointer, so a stale entry can never reach a freed
    // entity; the play screen empties it once per frame.
    std::map<int, BodyKind> destroyQueue;
    std::vector<PopupRequest> popupRequests;
    std::vector<SoundRequest> soundRequests;

    TileMap tileMap;
    Colour ballColour = startColour;
    Colour requestedColour = startColour;
    float pendingPenalty = 0.0f;  // seconds collected this frame
    bool jumpRequested = false;
    b2Body* playerBody = nullptr;  // not owned
    b2Vec2 gravity{0.0f, -9.3f};   // units per second squared
    std::vector<ContactEvent> contactEvents;
};
