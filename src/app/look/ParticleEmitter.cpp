#include "app/look/ParticleEmitter.hpp"

#include <algorithm>
#include <cmath>

#include "app/platform/GameWindow.hpp"
#include "app/platform/Random.hpp"

namespace {

constexpr float degreesPerRadian = 57.29578f;

float around(float mean, float variance) {
    return Random::real(mean - variance, mean + variance);
}

// Moves one velocity component toward 0 by amount, never past it.
float slowDown(float component, float amount) {
    if (component > 0.0f) {
        return std::max(0.0f, component - amount);
    }
    if (component < 0.0f) {
        return std::min(0.0f, component + amount);
    }
    return 0.0f;
}

template <typename Value, typename Blend>
Value interpolate(const std::map<float, Value>& keys, float t, Value none, Blend blend) {
    if (keys.empty()) {
        return none;
    }
    auto high = keys.lower_bound(t);
    if (high == keys.begin()) {
        return high->second;
    }
    if (high == keys.end()) {
        return std::prev(high)->second;
    }
    const auto low = std::prev(high);
    const float share = (t - low->first) / (high->first - low->first);
    return blend(low->second, high->second, share);
}

sf::Uint8 blendChannel(sf::Uint8 from, sf::Uint8 to, float share) {
    const float value = static_cast<float>(from) + (static_cast<float>(to) - from) * share;
    return static_cast<sf::Uint8>(std::clamp(value, 0.0f, 255.0f));
}

}  // namespace

sf::Color ParticleEmitter::colourAt(float t) const {
    return interpolate(colourKeys, t, sf::Color::White,
                       [](const sf::Color& a, const sf::Color& b, float s) {
                           return sf::Color(blendChannel(a.r, b.r, s), blendChannel(a.g, b.g, s),
                                            blendChannel(a.b, b.b, s), blendChannel(a.a, b.a, s));
                       });
}

float ParticleEmitter::scaleAt(float t) const {
    return interpolate(scaleKeys, t, 1.0f,
                       [](float a, float b, float s) { return a + (b - a) * s; });
}

int ParticleEmitter::emissionCount(float frameTime) {
    if (burst) {
        if (started) {
            return 0;
        }
        // A fractional burst size is rounded up: 3.4 makes four.
        const float size = rate == 1.0f ? 1.0f : around(rate, rateVariance);
        return static_cast<int>(std::ceil(size));
    }
    const float wanted = around(rate, rateVariance) * frameTime;
    if (!(wanted > 0.0f)) {
        return 0;
    }
    float whole = std::floor(wanted);
    spawnCarry += wanted - whole;
    if (spawnCarry > 1.0f) {
        const float carried = std::floor(spawnCarry);
        whole += carried;
        spawnCarry -= carried;
    }
    return static_cast<int>(whole);
}

void ParticleEmitter::emit(int count) {
    for (int i = 0; i < count; ++i) {
        Particle particle;
        particle.position =
            centre + sf::Vector2f(around(0.0f, spawnExtent.x), around(0.0f, spawnExtent.y));
        const float angle = around(direction, directionVariance);
        particle.rotation = angle;
        const sf::Vector2f unit(std::cos(angle / degreesPerRadian),
                                std::sin(angle / degreesPerRadian));
        particle.velocity = unit * around(speed, speedVariance);
        particle.lifetime = around(lifetime, lifetimeVariance);
        particle.spin = around(spin, spinVariance);
        particle.spinDamping = spinDamping;
        particle.dragComponents = unit * drag;
        particle.gravity = gravity;
        particles.push_back(particle);
    }
}

void ParticleEmitter::advance(Particle& particle, float frameTime) {
    particle.position += particle.velocity * frameTime;
    particle.velocity += particle.gravity * frameTime;
    particle.velocity.x =
        slowDown(particle.velocity.x, std::fabs(particle.dragComponents.x) * frameTime);
    particle.velocity.y =
        slowDown(particle.velocity.y, std::fabs(particle.dragComponents.y) * frameTime);
    particle.age += frameTime;
    // A particle that has lived its life is still drawn in this frame.
    if (particle.age >= particle.lifetime) {
        particle.dead = true;
    }
    if (particle.spin != 0.0f) {
        particle.rotation += particle.spin * frameTime;
        const float damped = slowDown(particle.spin, particle.spinDamping * frameTime);
        particle.spin = damped;
    }
}

void ParticleEmitter::update(float frameTime) {
    removeDead();
    emit(emissionCount(frameTime));
    for (Particle& particle : particles) {
        if (!particle.dead) {
            advance(particle, frameTime);
        }
    }
    direction += directionSpeed * frameTime;
    started = true;
    if (burst && std::none_of(particles.begin(), particles.end(),
                              [](const Particle& p) { return !p.dead; })) {
        finished = true;
    }
}

void ParticleEmitter::draw(GameWindow& window) const {
    if (texture == nullptr || texture->getSize().x == 0) {
        return;
    }
    const sf::View& view = window.getView();
    const sf::Vector2f c = view.getCenter();
    const sf::Vector2f s = view.getSize();
    const sf::Vector2f imageSize(texture->getSize());
    sf::Sprite sprite(*texture);
    sprite.setOrigin(imageSize * 0.5f);
    for (const Particle& particle : particles) {
        const float t = std::min(particle.age / particle.lifetime, 1.0f);
        const float scale = scaleAt(t);
        const float margin = std::max(imageSize.x, imageSize.y) * scale;
        if (std::fabs(particle.position.x - c.x) >= s.x + margin ||
            std::fabs(particle.position.y - c.y) >= s.y + margin) {
            continue;
        }
        sprite.setColor(colourAt(t));
        sprite.setScale(scale, scale);
        sprite.setPosition(particle.position);
        sprite.setRotation(particle.rotation);
        window.draw(sprite);
    }
}

void ParticleEmitter::removeDead() {
    particles.erase(std::remove_if(particles.begin(), particles.end(),
                                   [](const Particle& p) { return p.dead; }),
                    particles.end());
}

void configureCloudBackdrop(ParticleEmitter& emitter, const sf::Texture* cloudTexture) {
    applyCloudLook(emitter, cloudTexture);
    emitter.centre = sf::Vector2f(640.0f, 512.0f);
    emitter.spawnExtent = sf::Vector2f(768.0f, 614.4f);
    emitter.rate = 5.0f;
    emitter.rateVariance = 5.0f;
}

void applyCloudLook(ParticleEmitter& emitter, const sf::Texture* cloudTexture) {
    emitter.texture = cloudTexture;
    emitter.kind = ParticleEmitter::cloudKind;
    emitter.directionVariance = 360.0f;
    emitter.speed = 50.0f;
    emitter.speedVariance = 25.0f;
    emitter.drag = 10.0f;
    emitter.lifetime = 8.0f;
    emitter.lifetimeVariance = 2.0f;
    emitter.directionSpeed = 0.0f;
    emitter.spin = 0.0f;
    emitter.spinVariance = 30.0f;
    emitter.spinDamping = 1.0f;
    emitter.colourKeys = {{0.0f, sf::Color(255, 255, 255, 0)},
                          {0.1f, sf::Color(255, 255, 255, 93)},
                          {0.7f, sf::Color(255, 255, 255, 93)},
                          {1.0f, sf::Color(255, 255, 255, 0)}};
    emitter.scaleKeys = {{0.0f, 0.93f}, {0.2f, 1.0f}, {0.666f, 0.93f}, {1.0f, 0.0f}};
}
