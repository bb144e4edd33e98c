#pragma once

#include <box2d/b2_math.h>

#include "sim/level/BodyTag.hpp"

class b2Body;
class b2Fixture;
class b2World;

// One object of a level: a body with a single shape. Positions given to it are
// world pixels with y up. The body is created here and destroyed with the
// entity, so an entity must never outlive its world and must not be destroyed
// during a world step. What it looks like is the screen's business: the
// entity keeps the tile id it was made from for that.
class Entity {
  public:
    // A static body at (x, y) pixels without a shape yet: call one of the make
    // operations once right after. `number` is unique within its level.
    Entity(b2World& world, int number, int tileId, float x, float y,
           BodyKind kind = BodyKind::plainSolid, bool sensor = false);
    ~Entity();
    Entity(const Entity&) = delete;
    Entity& operator=(const Entity&) = delete;

    // Box of width x height pixels centred on the body.
    void makeBox(float width, float height, bool dynamic);
    // Circle of the given radius in physics units.
    void makeCircle(float radius, bool dynamic);
    // Static triangle; points in pixels around the body, y up, counter-clockwise.
    void makeTriangle(float x1, float y1, float x2, float y2, float x3, float y3);
    // Four corners at the middles of the edges of a width x height box (pixels).
    void makeDiamond(float width, float height, bool dynamic);

    int number() const { return entityNumber; }
    int tileId() const { return tile; }
    BodyKind kind() const { return tag.kind; }
    Colour colour() const { return ownColour; }
    void setColour(Colour colour) { ownColour = colour; }
    bool isSensor() const { return sensor; }
    bool isDynamic() const { return dynamic; }
    bool isCircle() const { return circle; }
    b2Body* body() const { return physicsBody; }
    b2Fixture* fixture() const { return shape; }
    const BodyTag& bodyTag() const { return tag; }

  private:
    void finishShape(const class b2Shape& shapeDefinition, bool dynamic);

    int entityNumber = 0;
    int tile = 0;
    Colour ownColour = Colour::none;
    b2World* world = nullptr;
    bool sensor = false;
    bool dynamic = false;
    bool circle = false;
    b2Body* physicsBody = nullptr;
    b2Fixture* shape = nullptr;
    BodyTag tag;
};
