#pragma once

#include "sim/level/BodyTag.hpp"

class b2Body;
class b2Fixture;
class b2World;

// The player's ball: a bullet circle that never sleeps. The screen draws the
// face where its body is.
class Ball {
  public:
    static constexpr float density = 1.0f;
    static constexpr float friction = 0.3f;
    static constexpr float restitution = 0.666f;

    // At (x, y) world pixels, y up; diameter in pixels (60 in every level).
    // `number` is unique within its level.
    Ball(b2World& world, int number, float x, float y, float diameter);
    ~Ball();
    Ball(const Ball&) = delete;
    Ball& operator=(const Ball&) = delete;

    int number() const { return ballNumber; }
    b2Body* body() const { return physicsBody; }
    b2Fixture* fixture() const { return shape; }
    const BodyTag& bodyTag() const { return tag; }

  private:
    int ballNumber = 0;
    b2World* world = nullptr;
    b2Body* physicsBody = nullptr;
    b2Fixture* shape = nullptr;
    BodyTag tag;
};
