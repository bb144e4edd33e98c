#include "sim/level/Level.hpp"

#include <box2d/b2_body.h>

#include <cmath>

#include "sim/level/PlayState.hpp"

namespace {

// While bodies are destroyed on purpose the contacts they end are no touches.
class IgnoredEnds {
  public:
    explicit IgnoredEnds(ContactListener* listener) : listener(listener) {
        if (listener != nullptr) {
            listener->setIgnoringEnds(true);
        }
    }
    ~IgnoredEnds() {
        if (listener != nullptr) {
            listener->setIgnoringEnds(false);
        }
    }
    IgnoredEnds(const IgnoredEnds&) = delete;
    IgnoredEnds& operator=(const IgnoredEnds&) = delete;

  private:
    ContactListener* listener;
};

void limitSpeed(b2Body& body) {
    const b2Vec2 velocity = body.GetLinearVelocity();
    const float speed = velocity.Length();
    if (speed > Level::maxSpeed) {
        body.SetLinearVelocity((Level::maxSpeed / speed) * velocity);
    }
    const float spin = body.GetAngularVelocity();
    if (std::fabs(spin) > Level::maxAngularSpeed) {
        body.SetAngularVelocity(std::copysign(Level::maxAngularSpeed, spin));
    }
}

bool finite(const b2Body& body) {
    const b2Vec2 position = body.GetPosition();
    const b2Vec2 velocity = body.GetLinearVelocity();
    return std::isfinite(position.x) && std::isfinite(position.y) && std::isfinite(velocity.x) &&
           std::isfinite(velocity.y) && std::isfinite(body.GetAngle()) &&
           std::isfinite(body.GetAngularVelocity());
}

bool outsideWorldBox(const b2Vec2& position) {
    return !(std::fabs(position.x) <= Level::worldBoxHalfSize &&
             std::fabs(position.y) <= Level::worldBoxHalfSize);
}

}  // namespace

Level::~Level() {
    clear();
}

void Level::clear() {
    {
        IgnoredEnds quiet(listener.get());
        ball.reset();
        entities.clear();
        bridgeJoints.clear();
        if (world) {
            world->SetContactListener(nullptr);
        }
        world.reset();
    }
    listener.reset();
}

bool stepLevel(Level& level) {
    if (!level.world) {
        return true;
    }
    level.world->Step(Level::stepSeconds, Level::solverIterations, Level::solverIterations);
    if (level.listener) {
        level.listener->advanceClock(Level::stepSeconds);
    }
    bool allFinite = true;
    for (b2Body* body = level.world->GetBodyList(); body != nullptr; body = body->GetNext()) {
        if (body->GetType() != b2_dynamicBody) {
            continue;
        }
        allFinite = allFinite && finite(*body);
        limitSpeed(*body);
        if (outsideWorldBox(body->GetPosition())) {
            // Fell out of the level: frozen, as the player can only restart.
            body->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
            body->SetAngularVelocity(0.0f);
            body->SetGravityScale(0.0f);
        }
    }
    return allFinite;
}

void destroyQueuedEntities(Level& level, PlayState& play) {
    IgnoredEnds quiet(level.listener.get());
    // The ball is not one of the entities, so no entry can ever remove it.
    for (const auto& entry : play.destroyQueue) {
        level.entities.erase(entry.first);
    }
    play.destroyQueue.clear();
}
