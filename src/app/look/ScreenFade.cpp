#include "app/look/ScreenFade.hpp"

#include <SFML/Graphics/RectangleShape.hpp>

#include "app/look/ScreenLook.hpp"
#include "app/platform/GameWindow.hpp"

namespace {

int clampAlpha(float value) {
    if (value <= 0.0f) {
        return 0;
    }
    if (value >= 255.0f) {
        return 255;
    }
    return static_cast<int>(value);
}

}  // namespace

int ScreenFade::fadeInAlpha(float fadeIn) {
    return fadeIn < 0.0f ? 0 : clampAlpha(fadeIn * 0.5f * 255.0f);
}

int ScreenFade::fadeOutAlpha(float fadeOut) {
    return fadeOut < 0.0f ? 0 : clampAlpha((1.0f - fadeOut * 0.5f) * 255.0f);
}

void drawBlackCover(GameWindow& window, int alpha) {
    sf::RectangleShape cover(sf::Vector2f(ScreenLook::viewWidth, ScreenLook::viewHeight));
    cover.setFillColor(sf::Color(0, 0, 0, static_cast<sf::Uint8>(alpha)));
    window.draw(cover);
}

void ScreenFade::draw(GameWindow& window) const {
    if (fadeIn >= 0.0f) {
        drawBlackCover(window, fadeInAlpha(fadeIn));
    }
    if (fadeOut >= 0.0f) {
        drawBlackCover(window, fadeOutAlpha(fadeOut));
    }
}

bool ScreenFade::advance(float frameTime) {
    if (fadeIn >= 0.0f) {
        fadeIn -= fadeInRate * frameTime;
    }
    if (fadeOut < 0.0f) {
        return false;
    }
    fadeOut -= fadeOutRate * frameTime;
    return fadeOut < 0.0f;
}
