#include "level/Ball.hpp"

#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_world.h>

#include <cstdint>

#include "level/Entity.hpp"
#include "level/TileKinds.hpp"
#include "level/Units.hpp"

Ball::Ball(b2World& world, const sf::Texture* texture, float x, float y, float diameter)
    : ballNumber(nextEntityNumber()), world(&world) {
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

    if (texture != nullptr) {
        ownSprite.setTexture(*texture, true);
    }
    const sf::IntRect rect = ownSprite.getTextureRect();
    ownSprite.setOrigin(static_cast<float>(rect.width / 2), static_cast<float>(rect.height / 2));
    ownSprite.setPosition(x, -y);

    tag = BodyTag{BodyKind::ball, nullptr};
    physicsBody->GetUserData().pointer = reinterpret_cast<std::uintptr_t>(&tag);
}

Ball::~Ball() {
    if (world != nullptr && physicsBody != nullptr) {
        world->DestroyBody(physicsBody);
    }
}

void Ball::sync() {
    const b2Vec2 position = physicsBody->GetPosition();
    ownSprite.setPosition(position.x * pixelsPerUnit, -position.y * pixelsPerUnit);
    ownSprite.setRotation(physicsBody->GetAngle() * degreesPerRadian);
}
