#include "game/Bursts.hpp"

#include <algorithm>

#include "app/look/ParticleEmitter.hpp"
#include "level/TileImages.hpp"
#include "sim/level/ContactListener.hpp"
#include "sim/level/Level.hpp"

namespace {

sf::Color withAlpha(sf::Color colour, sf::Uint8 alpha) {
    colour.a = alpha;
    return colour;
}

sf::Color starColour(Colour colour) {
    switch (colour) {
        case Colour::blue:
            return sf::Color(0, 67, 237);
        case Colour::cyan:
            return sf::Color(0, 236, 238);
        case Colour::green:
            return sf::Color(22, 237, 0);
        case Colour::purple:
            return sf::Color(230, 0, 238);
        case Colour::red:
            return sf::Color(237, 0, 0);
        case Colour::yellow:
            return sf::Color(222, 238, 0);
        default:
            return sf::Color(255, 255, 255);
    }
}

}  // namespace

bool makesBurst(const ContactEvent& event) {
    using Kind = ContactEvent::Kind;
    return event.kind == Kind::switchTouched || event.kind == Kind::targetBroken ||
           event.kind == Kind::blockBroken || event.kind == Kind::penalty;
}

sf::Color burstColour(const ContactEvent& event) {
    switch (event.kind) {
        case ContactEvent::Kind::switchTouched:
        case ContactEvent::Kind::targetBroken:
            return starColour(event.colour);
        case ContactEvent::Kind::blockBroken:
            return sf::Color(109, 73, 30);
        default:
            return sf::Color(255, 255, 255);
    }
}

void configureBurst(ParticleEmitter& emitter, const ContactEvent& event, const TileImages& images) {
    const bool penalty = event.kind == ContactEvent::Kind::penalty;
    const sf::Color colour = burstColour(event);
    emitter.kind = penalty ? ParticleEmitter::penaltyKind : ParticleEmitter::starKind;
    emitter.texture = images.texture(penalty ? TileImages::penaltyBurst : TileImages::star);
    emitter.centre = sf::Vector2f(event.position.x, event.position.y);
    emitter.spawnExtent = sf::Vector2f(16.0f, 16.0f);
    emitter.burst = true;
    emitter.direction = 0.0f;
    emitter.directionVariance = 360.0f;
    emitter.speed = 75.0f;
    emitter.speedVariance = 10.0f;
    emitter.drag = 10.0f;
    emitter.directionSpeed = 0.0f;
    emitter.spin = 0.0f;
    emitter.spinVariance = 400.0f;
    if (penalty) {
        emitter.rate = 1.0f;
        emitter.rateVariance = 0.0f;
        emitter.lifetime = 5.0f;
        emitter.lifetimeVariance = 1.0f;
        emitter.spinDamping = 0.0f;
        emitter.scaleKeys = {{0.0f, 0.32f}, {0.666f, 1.0f}, {1.0f, 0.0f}};
        emitter.colourKeys = {{0.0f, withAlpha(colour, 0)},
                              {0.1f, withAlpha(colour, 255)},
                              {0.8f, withAlpha(colour, 255)},
                              {1.0f, withAlpha(colour, 0)}};
        return;
    }
    emitter.rate = 10.0f;
    emitter.rateVariance = 5.0f;
    emitter.lifetime = 3.0f;
    emitter.lifetimeVariance = 1.0f;
    emitter.spinDamping = 50.0f;
    emitter.scaleKeys = {{0.0f, 0.93f}, {0.2f, 1.0f}, {0.666f, 0.93f}, {1.0f, 0.0f}};
    emitter.colourKeys = {
        {0.0f, withAlpha(colour, 0)}, {0.3f, withAlpha(colour, 255)}, {1.0f, withAlpha(colour, 0)}};
}

void configureLevelClouds(ParticleEmitter& emitter, int columns, int rows,
                          const sf::Texture* cloudTexture) {
    // Bounded as the build bounds the level: a file that claims 20000 cells
    // a side would otherwise ask for tens of millions of clouds a second.
    const float w = static_cast<float>(std::clamp(columns, 0, Level::maxCells));
    const float h = static_cast<float>(std::clamp(rows, 0, Level::maxCells));
    applyCloudLook(emitter, cloudTexture);
    emitter.centre = sf::Vector2f(0.5f * w, 0.5f * h);
    // 93 pixels each way per cell: the spawn area reaches well past the level
    // on every side, so clouds drift in from beyond its edges too.
    emitter.spawnExtent = sf::Vector2f(93.0f * w, 93.0f * h);
    emitter.rate = 0.1f * w * h;
}
