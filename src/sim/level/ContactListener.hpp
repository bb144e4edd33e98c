#pragma once

#include <box2d/b2_collision.h>
#include <box2d/b2_math.h>
#include <box2d/b2_world_callbacks.h>

#include <unordered_map>

#include "sim/level/PlayState.hpp"

class b2Contact;
class b2Fixture;
class Entity;

// One touching point as the rules see it: the two shapes, the velocity of the
// second body at the point minus the first's (units per second), and the
// normal pointing from the first shape to the second.
struct ContactPoint {
    b2Fixture* fixtureA = nullptr;
    b2Fixture* fixtureB = nullptr;
    b2Vec2 position{0.0f, 0.0f};
    b2Vec2 velocity{0.0f, 0.0f};
    b2Vec2 normal{0.0f, 0.0f};
};

// The rules of what happens when the ball touches something: knocks, breaking
// blocks and colour targets, switching colour, penalties, the finish and the
// jump. The world calls it during its step, when nothing may be created or
// destroyed, so it only pushes the ball and writes requests and events into
// the PlayState; the simulation and the play screen act on them after the step.
//
// Each touching point is reported three ways: when it begins (isNew), in every
// step while it lasts, and once when it ends, all through handleContact.
class ContactListener : public b2ContactListener {
  public:
    static constexpr float knockSpeed = 20.0f;     // units per second, exclusive
    static constexpr float breakingSpeed = 26.0f;  // units per second, exclusive
    static constexpr float penaltySeconds = 3.0f;
    static constexpr float penaltyPush = 75.0f;  // impulse, kg units/s
    // A ball resting on a penalty is charged at most once per this much game
    // time; the push normally separates them at once.
    static constexpr float penaltyGuardSeconds = 0.05f;
    // Fraction of the gravity vector, turned to point up the screen, given as
    // the jump impulse: about 38 units per second of take-off speed.
    static constexpr float jumpStrength = 0.5f;
    static constexpr float jumpCooldownSeconds = 0.035f;

    explicit ContactListener(PlayState& play);

    void BeginContact(b2Contact* contact) override;
    void EndContact(b2Contact* contact) override;
    void PreSolve(b2Contact* contact, const b2Manifold* oldManifold) override;

    void handleContact(const ContactPoint& point, bool isNew);

    // Contacts that end because we destroy bodies ourselves (broken blocks,
    // clearing the level) are not touches: they are ignored while this is set.
    void setIgnoringEnds(bool ignoring) { ignoringEnds = ignoring; }
    // Game time, advanced by every world step; it drives the penalty guard so
    // that the rules do not depend on the speed of the machine.
    void advanceClock(float seconds) { clock += seconds; }

  private:
    void reportEnd(b2Contact* contact, const b2Manifold& manifold);
    void breakBlock(const Entity& block, float impactSpeed);
    void breakTarget(const Entity& target);
    void touchSwitch(const Entity& lever);
    void chargePenalty(const Entity& penalty, b2Vec2 awayFromPenalty);
    void jump();
    void report(ContactEvent::Kind kind, const Entity& entity);

    PlayState* play;
    // The manifold of each solid contact at its last PreSolve: by the time a
    // contact ends the world has already emptied it.
    std::unordered_map<const b2Contact*, b2Manifold> lastManifolds;
    bool ignoringEnds = false;
    float clock = 0.0f;
    float lastPenaltyTime = -1.0f;
};
