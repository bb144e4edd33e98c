#include "level/Entity.hpp"

#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>

#include <algorithm>
#include <cstdint>

#include "level/Units.hpp"

namespace {

// Every shape of a level tile: a little friction, no bounce unless it moves.
constexpr float tileFriction = 0.5f;
constexpr float looseDensity = 0.4f;
constexpr float looseRestitution = 0.666f;

void centreOrigin(sf::Sprite& sprite) {
    const sf::IntRect rect = sprite.getTextureRect();
    // Whole pixels, so pictures stay sharp at angle 0.
    sprite.setOrigin(static_cast<float>(rect.width / 2), static_cast<float>(rect.height / 2));
}

}  // namespace

int nextEntityNumber() {
    static int counter = 1;
    return ++counter;
}

Entity::Entity(b2World& world, const sf::Texture* texture, float x, float y, BodyKind kind,
               bool sensor)
    : entityNumber(nextEntityNumber()), world(&world), sensor(sensor) {
    b2BodyDef definition;
    definition.position.Set(x / pixelsPerUnit, y / pixelsPerUnit);
    physicsBody = world.CreateBody(&definition);

    if (texture != nullptr) {
        ownSprite.setTexture(*texture, true);
    }
    ownSprite.setPosition(x, -y);
    centreOrigin(ownSprite);

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

void Entity::addAnimation() {
    ++animationIndex;
    hasAnimation = true;
    animations.emplace_back();
    frameIndex = 0;
    frameTime = 0.0f;
}

void Entity::addFrame(const sf::Sprite& sprite, float duration, int picture) {
    if (animationIndex < 0 || animationIndex >= static_cast<int>(animations.size())) {
        return;
    }
    Frame frame{sprite, duration, picture};
    frame.sprite.setOrigin(ownSprite.getOrigin());
    frame.sprite.setPosition(ownSprite.getPosition());
    animations[animationIndex].push_back(frame);
}

bool Entity::animationInUse() const {
    return hasAnimation && animationIndex >= 0 &&
           animationIndex < static_cast<int>(animations.size()) &&
           !animations[animationIndex].empty();
}

void Entity::animate(float elapsed) {
    if (!animationInUse()) {
        return;
    }
    const std::vector<Frame>& frames = animations[animationIndex];
    frameTime += elapsed;
    if (frameTime < frames[frameIndex].duration) {
        return;
    }
    frameTime -= frames[frameIndex].duration;
    frameIndex = (frameIndex + 1) % static_cast<int>(frames.size());
}

const sf::Sprite& Entity::currentFrame() const {
    if (!animationInUse()) {
        return ownSprite;
    }
    return animations[animationIndex][frameIndex].sprite;
}

int Entity::currentPicture() const {
    if (!animationInUse()) {
        return -1;
    }
    return animations[animationIndex][frameIndex].picture;
}

sf::Sprite& Entity::currentSprite() {
    if (!animationInUse()) {
        return ownSprite;
    }
    return animations[animationIndex][frameIndex].sprite;
}

bool Entity::withinDrawRange(const sf::View& view) const {
    const b2Vec2 position = physicsBody->GetPosition();
    const float sx = position.x * pixelsPerUnit;
    const float sy = -position.y * pixelsPerUnit;
    const sf::FloatRect bounds = ownSprite.getGlobalBounds();
    const float size = std::max(bounds.width, bounds.height);
    // A whole view size of margin on each side: what turns into sight as the
    // view rotates is already in place.
    const sf::Vector2f centre = view.getCenter();
    const sf::Vector2f extent = view.getSize();
    return sx > centre.x - extent.x - size && sx < centre.x + extent.x + size &&
           sy > centre.y - extent.y - size && sy < centre.y + extent.y + size;
}

void Entity::followBody() {
    if (!dynamic) {
        return;
    }
    const b2Vec2 position = physicsBody->GetPosition();
    const sf::Vector2f at(position.x * pixelsPerUnit, -position.y * pixelsPerUnit);
    const float degrees = physicsBody->GetAngle() * degreesPerRadian;
    ownSprite.setPosition(at);
    ownSprite.setRotation(degrees);
    sf::Sprite& shown = currentSprite();
    shown.setPosition(at);
    shown.setRotation(degrees);
}

void Entity::draw(sf::RenderTarget& target) {
    if (!withinDrawRange(target.getView())) {
        return;
    }
    followBody();
    // Switches show their own picture beneath the glow of the animation.
    if (animated && animationInUse()) {
        target.draw(ownSprite);
    }
    target.draw(currentFrame());
}
