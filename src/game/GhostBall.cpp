#include "game/GhostBall.hpp"

#include <SFML/Graphics/Sprite.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/files/Files.hpp"
#include "app/platform/GameWindow.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/level/Units.hpp"
#include "sim/play/LevelSimulation.hpp"

void GhostBall::loadImage() {
    loadTexture(texture, dataPath("images/bodyred.png"));
    texture.setSmooth(true);
}

std::string ghostGapText(float seconds, bool atFinish) {
    const long long units = std::llround(std::fabs(seconds) * (atFinish ? 1000.0f : 100.0f));
    const int decimals = atFinish ? 3 : 2;
    const long long scale = atFinish ? 1000 : 100;
    char text[48];
    std::snprintf(text, sizeof text, "%s%lld.%0*lld",
                  units == 0    ? ""
                  : seconds < 0 ? "-"
                                : "+",
                  units / scale, decimals, units % scale);
    return text;
}

void GhostBall::follow(std::unique_ptr<GhostTrack> next) {
    track = std::move(next);
    gapRule = GhostGap();
    current.reset();
    gapSeconds.reset();
    finalGap = false;
}

void GhostBall::update(const LevelSimulation& player) {
    if (!track) {
        return;
    }
    const long long step = player.stepsTaken();
    current = track->poseAfterStep(step);
    if (finalGap) {
        return;
    }
    gapSeconds = gapRule.update(*track, player);
    if (player.finished()) {
        if (const std::optional<float> finish = gapRule.atFinish(*track, player.raceClock())) {
            gapSeconds = finish;
        }
        finalGap = true;
    }
    // The drawn ghost and the match are what is asked for next.
    track->forgetBefore(std::min(step, gapRule.matchedStep()));
}

void GhostBall::draw(GameWindow& window) const {
    if (!current || texture.getSize().x == 0) {
        return;
    }
    sf::Sprite sprite(texture);
    const sf::Vector2u size = texture.getSize();
    sprite.setOrigin(static_cast<float>(size.x / 2), static_cast<float>(size.y / 2));
    // The ball's sprite mapping (level/Ball): y flips, the angle turns alike.
    sprite.setPosition(current->position.x * pixelsPerUnit, -current->position.y * pixelsPerUnit);
    sprite.setRotation(current->angle * degreesPerRadian);
    sprite.setColor(sf::Color(255, 255, 255, alpha));
    window.draw(sprite);
}
