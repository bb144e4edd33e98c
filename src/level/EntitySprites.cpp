#include "level/EntitySprites.hpp"

#include <box2d/b2_body.h>

#include <array>
#include <cmath>

#include "sim/level/Level.hpp"
#include "sim/level/Units.hpp"

namespace {

// The glow of a switch: swc1..swc9 and back down, so it pulses rather than jumps.
constexpr std::array<int, 18> glowPictures{0, 1, 2, 3, 4, 5, 6, 7, 8, 8, 7, 6, 5, 4, 3, 2, 1, 0};

void centreOrigin(sf::Sprite& sprite) {
    const sf::IntRect rect = sprite.getTextureRect();
    // Whole pixels, so pictures stay sharp at angle 0.
    sprite.setOrigin(static_cast<float>(rect.width / 2), static_cast<float>(rect.height / 2));
}

// Where and how the body stands, in pixels and degrees. Bodies that never
// move stand on whole pixels, as their cells do.
sf::Transform placement(const Entity& entity) {
    const b2Body& body = *entity.body();
    b2Vec2 at = pixelsOf(body.GetPosition());
    if (!entity.isDynamic()) {
        at = b2Vec2(std::round(at.x), std::round(at.y));
    }
    sf::Transform transform;
    transform.translate(at.x, at.y);
    transform.rotate(body.GetAngle() * degreesPerRadian);
    return transform;
}

}  // namespace

void EntitySprites::build(const Level& level, const TileImages& pictures) {
    images = &pictures;
    byNumber.assign(static_cast<std::size_t>(level.lastEntityNumber) + 1, Sprite());
    for (const auto& [number, entity] : level.entities) {
        Sprite& sprite = byNumber[static_cast<std::size_t>(number)];
        sprite.own = TileImages::ofTile(entity->tileId());
        if (const sf::Texture* texture = pictures.texture(sprite.own)) {
            sprite.picture.setTexture(*texture, true);
            const sf::Vector2u extent = texture->getSize();
            sprite.size = std::hypot(static_cast<float>(extent.x), static_cast<float>(extent.y));
        }
        centreOrigin(sprite.picture);
        sprite.glows = entity->kind() == BodyKind::colourSwitch;
    }
}

const EntitySprites::Sprite* EntitySprites::spriteOf(int entityNumber) const {
    if (entityNumber < 0 || static_cast<std::size_t>(entityNumber) >= byNumber.size()) {
        return nullptr;
    }
    return &byNumber[static_cast<std::size_t>(entityNumber)];
}

// A whole view size of margin on each side: what turns into sight as the view
// rotates is already in place.
bool EntitySprites::withinRange(const Entity& entity, const Sprite& sprite,
                                const sf::View& view) const {
    const b2Vec2 at = pixelsOf(entity.body()->GetPosition());
    const sf::Vector2f centre = view.getCenter();
    const sf::Vector2f extent = view.getSize();
    return at.x > centre.x - extent.x - sprite.size && at.x < centre.x + extent.x + sprite.size &&
           at.y > centre.y - extent.y - sprite.size && at.y < centre.y + extent.y + sprite.size;
}

void EntitySprites::animate(const Level& level, const sf::View& view, float frameTime) {
    for (const auto& [number, entity] : level.entities) {
        const Sprite* found = spriteOf(number);
        if (found == nullptr || !found->glows || !withinRange(*entity, *found, view)) {
            continue;
        }
        // At most one picture a frame; the rest carries over.
        Sprite& sprite = byNumber[static_cast<std::size_t>(number)];
        sprite.glowTime += frameTime;
        if (sprite.glowTime >= glowFrameSeconds) {
            sprite.glowTime -= glowFrameSeconds;
            sprite.glowFrame = (sprite.glowFrame + 1) % static_cast<int>(glowPictures.size());
        }
    }
}

int EntitySprites::pictureShown(int entityNumber) const {
    const Sprite* sprite = spriteOf(entityNumber);
    if (sprite == nullptr) {
        return -1;
    }
    if (sprite->glows) {
        return TileImages::firstSwitchFrame +
               glowPictures[static_cast<std::size_t>(sprite->glowFrame)];
    }
    return sprite->own;
}

void EntitySprites::draw(const Level& level, sf::RenderTarget& target) const {
    const sf::View& view = target.getView();
    for (const auto& [number, entity] : level.entities) {
        const Sprite* sprite = spriteOf(number);
        if (sprite == nullptr || !withinRange(*entity, *sprite, view)) {
            continue;
        }
        const sf::RenderStates states(placement(*entity));
        target.draw(sprite->picture, states);
        if (!sprite->glows || images == nullptr) {
            continue;
        }
        // The switch's own picture shows beneath its glow.
        if (const sf::Texture* glow = images->texture(pictureShown(number))) {
            sf::Sprite shine(*glow);
            centreOrigin(shine);
            target.draw(shine, states);
        }
    }
}
