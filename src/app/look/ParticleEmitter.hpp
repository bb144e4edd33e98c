#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Vector2.hpp>

#include <map>
#include <vector>

class GameWindow;

// One particle of an emitter: position in logical units, rotation in degrees,
// times in seconds.
struct Particle {
    bool dead = false;
    sf::Vector2f velocity;
    sf::Vector2f dragComponents;
    sf::Vector2f gravity;
    float lifetime = 1.0f;
    float age = 0.0f;
    float spin = 0.0f;
    float spinDamping = 0.0f;
    sf::Vector2f position;
    float rotation = 0.0f;
};

// A small general particle emitter: the drifting clouds behind menus and levels
// and the star and penalty bursts of contacts. Every quantity scales with the
// frame time; a continuous emitter carries fractional particles over frames so
// that 5 per second at 60 frames per second still gives 5 per second.
class ParticleEmitter {
  public:
    enum Kind { cloudKind = 1, starKind = 2, penaltyKind = 3 };

    // Emits, moves and ages the particles by one frame; dead particles are
    // drawn once more and removed by the next update.
    void update(float frameTime);
    // Draws the particles that lie near the window's current view.
    void draw(GameWindow& window) const;

    sf::Color colourAt(float t) const;
    float scaleAt(float t) const;

    const std::vector<Particle>& live() const { return particles; }

    // Picture of every particle; may be null or empty (particles then draw nothing).
    const sf::Texture* texture = nullptr;
    int kind = cloudKind;
    float spawnCarry = 0.0f;
    sf::Vector2f centre;
    sf::Vector2f spawnExtent{5.0f, 5.0f};
    float rate = 10.0f;
    float rateVariance = 5.0f;
    bool burst = false;
    bool finished = false;
    bool started = false;
    float direction = 0.0f;
    float directionVariance = 10.0f;
    sf::Vector2f gravity;
    float speed = 25.0f;
    float speedVariance = 5.0f;
    float drag = 0.0f;
    float lifetime = 10.0f;
    float lifetimeVariance = 2.0f;
    float directionSpeed = 0.0f;
    float spin = 0.0f;
    float spinVariance = 0.0f;
    float spinDamping = 0.0f;
    std::map<float, sf::Color> colourKeys;
    std::map<float, float> scaleKeys;

  private:
    int emissionCount(float frameTime);
    void emit(int count);
    static void advance(Particle& particle, float frameTime);
    void removeDead();

    std::vector<Particle> particles;
};

// The cloud field of the menus: soft clouds anywhere over the logical screen,
// drifting slowly in every direction, fading in and out over about 8 seconds.
void configureCloudBackdrop(ParticleEmitter& emitter, const sf::Texture* cloudTexture);

// How every cloud moves and fades, in the menus and over the levels alike;
// the owner sets where they appear and how many.
void applyCloudLook(ParticleEmitter& emitter, const sf::Texture* cloudTexture);
