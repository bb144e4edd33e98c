#pragma once

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include "level/BodyTag.hpp"

class b2Body;
class b2Fixture;
class b2World;

// The player's ball: a bullet circle that never sleeps. Its sprite only
// follows the body (the face draws what the player sees); it needs no picture.
class Ball {
  public:
    static constexpr float density = 1.0f;
    static constexpr float friction = 0.3f;
    static constexpr float restitution = 0.666f;

    // At (x, y) world pixels, y up; diameter in pixels (60 in every level).
    Ball(b2World& world, const sf::Texture* texture, float x, float y, float diameter);
    ~Ball();
    Ball(const Ball&) = delete;
    Ball& operator=(const Ball&) = delete;

    // Moves the sprite onto the body: (50 x, -50 y), turned by the body angle.
    void sync();

    int number() const { return ballNumber; }
    b2Body* body() const { return physicsBody; }
    b2Fixture* fixture() const { return shape; }
    const sf::Sprite& sprite() const { return ownSprite; }
    const BodyTag& bodyTag() const { return tag; }

  private:
    int ballNumber = 0;
    b2World* world = nullptr;
    sf::Sprite ownSprite;
    b2Body* physicsBody = nullptr;
    b2Fixture* shape = nullptr;
    BodyTag tag;
};
