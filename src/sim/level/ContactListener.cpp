#include "sim/level/ContactListener.hpp"

#include <box2d/b2_body.h>
#include <box2d/b2_contact.h>
#include <box2d/b2_fixture.h>

#include <algorithm>
#include <cmath>

#include "sim/level/BodyTag.hpp"
#include "sim/level/Entity.hpp"
#include "sim/level/TileKinds.hpp"
#include "sim/level/Units.hpp"

namespace {

const BodyTag* tagOf(b2Fixture* fixture) {
    if (fixture == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<const BodyTag*>(fixture->GetBody()->GetUserData().pointer);
}

b2Vec2 velocityAt(const b2Fixture* fixture, const b2Vec2& point) {
    return fixture->GetBody()->GetLinearVelocityFromWorldPoint(point);
}

// A sensor has no manifold: its "point" joins the two bodies' centres.
ContactPoint sensorPoint(b2Contact* contact) {
    ContactPoint point;
    point.fixtureA = contact->GetFixtureA();
    point.fixtureB = contact->GetFixtureB();
    const b2Body* bodyA = point.fixtureA->GetBody();
    const b2Body* bodyB = point.fixtureB->GetBody();
    point.position = 0.5f * (bodyA->GetWorldCenter() + bodyB->GetWorldCenter());
    point.velocity = bodyB->GetLinearVelocity() - bodyA->GetLinearVelocity();
    point.normal = bodyB->GetWorldCenter() - bodyA->GetWorldCenter();
    return point;
}

bool isSensorContact(const b2Contact* contact) {
    return contact->GetFixtureA()->IsSensor() || contact->GetFixtureB()->IsSensor();
}

}  // namespace

ContactListener::ContactListener(PlayState& play) : play(&play) {
    play.jumpCooldown = -1.0f;
}

void ContactListener::BeginContact(b2Contact* contact) {
    // Solid contacts are reported point by point from PreSolve.
    if (isSensorContact(contact)) {
        handleContact(sensorPoint(contact), true);
    }
}

void ContactListener::PreSolve(b2Contact* contact, const b2Manifold* oldManifold) {
    const b2Manifold* manifold = contact->GetManifold();
    lastManifolds[contact] = *manifold;
    if (manifold->pointCount == 0) {
        return;
    }
    b2PointState before[b2_maxManifoldPoints];
    b2PointState now[b2_maxManifoldPoints];
    b2GetPointStates(before, now, oldManifold, manifold);
    b2WorldManifold world;
    contact->GetWorldManifold(&world);
    for (int i = 0; i < manifold->pointCount; ++i) {
        if (now[i] != b2_addState && now[i] != b2_persistState) {
            continue;
        }
        ContactPoint point;
        point.fixtureA = contact->GetFixtureA();
        point.fixtureB = contact->GetFixtureB();
        point.position = world.points[i];
        point.velocity =
            velocityAt(point.fixtureB, point.position) - velocityAt(point.fixtureA, point.position);
        point.normal = world.normal;
        handleContact(point, now[i] == b2_addState);
    }
}

void ContactListener::EndContact(b2Contact* contact) {
    const auto cached = lastManifolds.find(contact);
    b2Manifold manifold;
    manifold.pointCount = 0;
    if (cached != lastManifolds.end()) {
        manifold = cached->second;
        // The contact's memory is reused for later contacts: forget it now.
        lastManifolds.erase(cached);
    }
    if (ignoringEnds) {
        return;
    }
    if (isSensorContact(contact)) {
        handleContact(sensorPoint(contact), false);
        return;
    }
    reportEnd(contact, manifold);
}

void ContactListener::reportEnd(b2Contact* contact, const b2Manifold& manifold) {
    if (manifold.pointCount == 0) {
        return;
    }
    b2Fixture* fixtureA = contact->GetFixtureA();
    b2Fixture* fixtureB = contact->GetFixtureB();
    b2WorldManifold world;
    world.Initialize(&manifold, fixtureA->GetBody()->GetTransform(), fixtureA->GetShape()->m_radius,
                     fixtureB->GetBody()->GetTransform(), fixtureB->GetShape()->m_radius);
    for (int i = 0; i < manifold.pointCount; ++i) {
        ContactPoint point;
        point.fixtureA = fixtureA;
        point.fixtureB = fixtureB;
        point.position = world.points[i];
        point.velocity =
            velocityAt(fixtureB, point.position) - velocityAt(fixtureA, point.position);
        point.normal = world.normal;
        handleContact(point, false);
    }
}

void ContactListener::handleContact(const ContactPoint& point, bool isNew) {
    const BodyTag* first = tagOf(point.fixtureA);
    const BodyTag* second = tagOf(point.fixtureB);
    const BodyTag* other = nullptr;
    bool ballIsFirst = false;
    if (first != nullptr && first->kind == BodyKind::ball) {
        other = second;
        ballIsFirst = true;
    } else if (second != nullptr && second->kind == BodyKind::ball) {
        other = first;
    } else {
        return;  // the ball takes no part
    }

    b2Vec2 normal = point.normal;
    normal.Normalize();
    const float impactSpeed = point.velocity.Length();

    if (isNew && impactSpeed > knockSpeed) {
        ContactEvent knock{ContactEvent::Kind::knock};
        knock.position = pixelsOf(point.position);
        knock.impactSpeed = impactSpeed;
        play->events.push_back(knock);
    }

    const Entity* entity = other != nullptr ? other->entity : nullptr;
    const BodyKind kind = entity != nullptr ? other->kind : BodyKind::plainSolid;
    bool jumpAllowed = true;
    switch (kind) {
        case BodyKind::finish:
            if (!play->finished) {
                play->finished = true;
                report(ContactEvent::Kind::finishReached, *entity);
            }
            jumpAllowed = false;
            break;
        case BodyKind::breakable:
            // Right after a jump the ball presses into the floor it jumped off;
            // that push must not count as a hit.
            if (play->jumpCooldown > 0.0f || !(impactSpeed > breakingSpeed)) {
                play->impactSpeed = impactSpeed;
            } else {
                breakBlock(*entity, impactSpeed);
            }
            break;
        case BodyKind::colourTarget:
            if (impactSpeed > 0.0f && entity->colour() == play->ballColour) {
                breakTarget(*entity);
            }
            break;
        case BodyKind::colourSwitch:
            touchSwitch(*entity);
            jumpAllowed = false;
            break;
        case BodyKind::penalty:
            if (!play->finished) {
                chargePenalty(*entity, ballIsFirst ? -normal : normal);
            }
            break;
        default:
            play->impactSpeed = impactSpeed;
            break;
    }

    if (play->jumpRequested && jumpAllowed && !play->finished && play->jumpCooldown < 0.0f) {
        jump();
    }
}

void ContactListener::breakBlock(const Entity& block, float impactSpeed) {
    play->destroyQueue[block.number()] = block.kind();
    report(ContactEvent::Kind::blockBroken, block);
    play->impactSpeed = impactSpeed;
}

void ContactListener::breakTarget(const Entity& target) {
    play->destroyQueue[target.number()] = target.kind();
    report(ContactEvent::Kind::targetBroken, target);
}

void ContactListener::touchSwitch(const Entity& lever) {
    if (play->requestedColour == lever.colour()) {
        return;
    }
    play->requestedColour = lever.colour();
    report(ContactEvent::Kind::switchTouched, lever);
}

void ContactListener::chargePenalty(const Entity& penalty, b2Vec2 awayFromPenalty) {
    // Counted by game time, not by whether the glass sound could start: a
    // missing sound or a busy mixer must not make penalties free.
    if (lastPenaltyTime >= 0.0f && clock - lastPenaltyTime < penaltyGuardSeconds) {
        return;
    }
    lastPenaltyTime = clock;
    play->pendingPenalty += penaltySeconds;
    report(ContactEvent::Kind::penalty, penalty);
    if (play->playerBody != nullptr) {
        play->playerBody->ApplyLinearImpulseToCenter(penaltyPush * awayFromPenalty, true);
    }
}

void ContactListener::jump() {
    b2Body* ball = play->playerBody;
    if (ball == nullptr) {
        return;
    }
    // Against gravity is up the screen whatever the angle of the world, so
    // the jump always lifts the ball off what it stands on. An exact negation:
    // no sine or cosine whose last bit could differ between compilers.
    const b2Vec2 up = -play->gravity;
    ball->ApplyLinearImpulseToCenter(jumpStrength * up, true);
    play->jumpRequested = false;
    play->jumpCooldown = jumpCooldownSeconds;
}

// Events are placed where the body is, not where its picture was last drawn:
// a rule must not depend on what was on screen.
void ContactListener::report(ContactEvent::Kind kind, const Entity& entity) {
    const b2Body& body = *entity.body();
    ContactEvent event{kind, entity.colour()};
    event.position = pixelsOf(body.GetPosition());
    event.degrees = body.GetAngle() * degreesPerRadian;
    play->events.push_back(event);
}
