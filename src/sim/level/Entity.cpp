#include "sim/level/Entity.hpp"

#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>

#include <cstdint>

#include "sim/level/Units.hpp"

namespace {

// Every shape of a level tile: a little friction, no bounce unless it moves.
constexpr float tileFriction = 0.5f;
constexpr float looseDensity = 0.4f;
constexpr float looseRestitution = 0.666f;

}  // namespace

Entity::Entity(b2World& world, int number, int tileId, float x, float y, BodyKind kind, bool sensor)
    : entityNumber(number), tile(tileId), world(&world), sensor(sensor) {
    b2BodyDef definition;
    definition.position.Set(x / pixelsPerUnit, y / pixelsPerUnit);
    physicsBody = world.CreateBody(&definition);

    tag = BodyTag{kind, this};
    physicsBody->GetUserData().pointer = reinterpret_cast<std::uintptr_t>(&tag);
}

Entity::~Entity() {
    // Destroying the body takes its fixture and joints with it.
    if (world != nullptr && physicsBody != nullptr) {
        world->DestroyBody(physicsBody);
    }
}

void Entity::finishShape(const b2Shape& shapeDefinition, bool makeDynamic) {
    if (shape != nullptr) {
        return;  // one shape per entity
    }
    b2FixtureDef fixture;
    fixture.shape = &shapeDefinition;
    fixture.friction = tileFriction;
    fixture.isSensor = sensor;
    if (makeDynamic) {
        fixture.density = looseDensity;
        fixture.restitution = looseRestitution;
        dynamic = true;
        // Mass follows the fixtures once the body is dynamic.
        physicsBody->SetType(b2_dynamicBody);
    }
    shape = physicsBody->CreateFixture(&fixture);
    if (makeDynamic) {
        // Loose objects and bridge blocks must answer a touch at once, and a
        // sleeping bridge would not swing when the ball arrives.
        physicsBody->SetSleepingAllowed(false);
    }
}

void Entity::makeBox(float width, float height, bool makeDynamic) {
    b2PolygonShape box;
    box.SetAsBox(width / 2.0f / pixelsPerUnit, height / 2.0f / pixelsPerUnit);
    finishShape(box, makeDynamic);
}

void Entity::makeCircle(float radius, bool makeDynamic) {
    b2CircleShape round;
    round.m_radius = radius;
    circle = true;
    finishShape(round, makeDynamic);
}

void Entity::makeTriangle(float x1, float y1, float x2, float y2, float x3, float y3) {
    const b2Vec2 points[3] = {{x1 / pixelsPerUnit, y1 / pixelsPerUnit},
                              {x2 / pixelsPerUnit, y2 / pixelsPerUnit},
                              {x3 / pixelsPerUnit, y3 / pixelsPerUnit}};
    b2PolygonShape triangle;
    triangle.Set(points, 3);
    finishShape(triangle, false);
}

void Entity::makeDiamond(float width, float height, bool makeDynamic) {
    const float w = width / pixelsPerUnit;
    const float h = height / pixelsPerUnit;
    const b2Vec2 points[4] = {
        {0.0f, -h / 2.0f}, {w / 2.0f, 0.0f}, {0.0f, h / 2.0f}, {-w / 2.0f, 0.0f}};
    b2PolygonShape diamond;
    diamond.Set(points, 4);
    finishShape(diamond, makeDynamic);
}
