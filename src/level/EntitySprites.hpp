#pragma once

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/View.hpp>

#include <vector>

#include "level/TileImages.hpp"

struct Level;
class Entity;

// What the entities of a level look like: each entity's tile picture, and the
// glow that pulses over a colour switch. The simulation knows nothing of it;
// the pictures are kept here by entity number and drawn where the bodies are.
class EntitySprites {
  public:
    // The seconds each picture of a switch's glow shows.
    static constexpr float glowFrameSeconds = 0.088f;

    // A picture for every entity of the level just built; `images` must
    // outlive this. Entities the level removes later are simply not drawn.
    void build(const Level& level, const TileImages& images);
    // Moves the glows on, for entities within one view size of the view only,
    // as they are only drawn there.
    void animate(const Level& level, const sf::View& view, float frameTime);
    // Draws every entity within one view size of the target's view, moved and
    // turned to its body.
    void draw(const Level& level, sf::RenderTarget& target) const;

    // The picture an entity shows now: its glow's for a switch, else its own;
    // -1 for an entity without one.
    int pictureShown(int entityNumber) const;

  private:
    struct Sprite {
        sf::Sprite picture;  // origin at its centre
        bool glows = false;  // a switch: the glow pulses over the picture
        int glowFrame = 0;
        float glowTime = 0.0f;  // seconds shown so far of the glow frame
        float size = 0.0f;      // pixels, the most it spans whatever its angle
        int own = -1;           // the tile picture
    };

    const Sprite* spriteOf(int entityNumber) const;
    bool withinRange(const Entity& entity, const Sprite& sprite, const sf::View& view) const;

    const TileImages* images = nullptr;
    std::vector<Sprite> byNumber;
};
