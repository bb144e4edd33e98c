#pragma once

#include <box2d/b2_math.h>

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <vector>

#include "level/BodyTag.hpp"

class b2Body;
class b2Fixture;
class b2World;

// Numbers for entities and the ball from one counter for the whole run: the
// first object gets 2, and numbers are never reused, so the play screen's map
// of entities by number is in creation order.
int nextEntityNumber();

// One object of a level: a body with a single shape, and the sprite that shows
// it, optionally animated. Positions given to it are world pixels with y up.
// The body is created here and destroyed with the entity, so an entity must
// never outlive its world and must not be destroyed during a world step.
class Entity {
  public:
    struct Frame {
        sf::Sprite sprite;
        float duration = 0.0f;  // seconds
        int picture = -1;       // tile image index shown, -1 when not from the table
    };

    // A static body at (x, y) pixels without a shape yet: call one of the make
    // operations once right after. Without a texture the entity draws nothing.
    Entity(b2World& world, const sf::Texture* texture, float x, float y,
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

    // Starts a new, empty animation and uses it.
    void addAnimation();
    // Appends a copy of the sprite, placed where the entity's sprite is.
    void addFrame(const sf::Sprite& sprite, float duration, int picture = -1);
    // Moves the animation on by a frame time in seconds; at most one picture
    // per call, the rest carries over.
    void animate(float frameTime);
    // The picture to show now: the current animation frame, or the own sprite.
    const sf::Sprite& currentFrame() const;
    // The tile image index of the current frame; -1 without animation.
    int currentPicture() const;

    // Draws the entity when it lies within one view size of the target's view;
    // dynamic ones are first moved and turned to their body. Entities far off
    // are neither drawn nor moved.
    void draw(sf::RenderTarget& target);
    // The culling test of draw: within one view size plus the entity's own
    // size of the view's centre, the view's rotation not considered.
    bool withinDrawRange(const sf::View& view) const;
    // Moves and turns a dynamic entity's pictures onto its body (pixels, y
    // down; degrees). Static entities never move.
    void followBody();

    int number() const { return entityNumber; }
    BodyKind kind() const { return tag.kind; }
    Colour colour() const { return ownColour; }
    void setColour(Colour colour) { ownColour = colour; }
    bool isSensor() const { return sensor; }
    bool isDynamic() const { return dynamic; }
    bool isCircle() const { return circle; }
    // The own sprite is drawn beneath the animation (switches).
    void setAnimated(bool value) { animated = value; }
    bool isAnimated() const { return animated; }
    int animationCount() const { return static_cast<int>(animations.size()); }
    int frameIndexInUse() const { return frameIndex; }
    b2Body* body() const { return physicsBody; }
    b2Fixture* fixture() const { return shape; }
    const sf::Sprite& sprite() const { return ownSprite; }
    const BodyTag& bodyTag() const { return tag; }

  private:
    bool animationInUse() const;
    sf::Sprite& currentSprite();
    void finishShape(const class b2Shape& shapeDefinition, bool dynamic);

    std::vector<std::vector<Frame>> animations;
    int entityNumber = 0;
    Colour ownColour = Colour::none;
    b2World* world = nullptr;
    bool sensor = false;
    bool hasAnimation = false;
    bool animated = false;
    int animationIndex = -1;
    float frameTime = 0.0f;
    int frameIndex = 0;
    bool dynamic = false;
    bool circle = false;
    sf::Sprite ownSprite;
    b2Body* physicsBody = nullptr;
    b2Fixture* shape = nullptr;
    BodyTag tag;
};
