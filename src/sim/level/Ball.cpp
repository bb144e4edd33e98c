#include "sim/level/Ball.hpp"

#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_world.h>

#include <cstdint>

#include "sim/level/TileKinds.hpp"
#include "sim/level/Units.hpp"

Ball::Ball(b2World& world, int number, float x, float y, float diameter)
    : ballNumber(number), world(&world) {
    b2BodyDef definition;
    definition.type = b2_dynamicBody;
    definition.position.Set(x / pixelsPerUnit, y / pixelsPerUnit);
    // Continuous collision: at 200 units per second the ball moves more than
    // half its own size per step.
    definition.bullet = true;
    physicsBody = world.CreateBody(&definition);

    b2CircleShape circle;
    circle.m_radius = diameter / pixelsPerUnit * 0.5f;
    b2FixtureDef fixture;
    fixture.shape = &circle;
    fixture.density = density;
    fixture.friction = friction;
    fixture.restitution = restitution;
    shape = physicsBody->CreateFixture(&fixture);
    physicsBody->SetSleepingAllowed(false);

    tag = BodyTag{BodyKind::ball, nullptr};
    physicsBody->GetUserData().pointer = reinterpret_cast<std::uintptr_t>(&tag);
}

Ball::~Ball() {
    if (world != nullptr && physicsBody != nullptr) {
        world->DestroyBody(physicsBody);
    }
}
