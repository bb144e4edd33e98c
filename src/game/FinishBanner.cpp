#include "game/FinishBanner.hpp"

#include <SFML/Graphics/Sprite.hpp>

#include <algorithm>
#include <cmath>

#include "app/files/Files.hpp"
#include "app/look/ScreenLook.hpp"
#include "app/platform/GameWindow.hpp"
#include "sim/base/DataFolder.hpp"

namespace {

constexpr const char* letterFiles[8] = {
    "f.png", "i1.png", "n.png", "i2.png", "s.png", "h.png", "e.png", "d.png",
};
constexpr float waveStep = 0.2f;      // radians from one letter to the next
constexpr float phaseSpeed = 4.0f;    // radians per second
constexpr float settleRate = 0.666f;  // share of the amplitude lost per second
constexpr float flyRate = 1.88f;      // share gained per second when leaving
constexpr float fadeRate = 510.0f;    // alpha per second: gone in half a second

}  // namespace

void FinishBanner::load() {
    totalWidth = 0;
    for (int k = 0; k < letterCount; ++k) {
        sf::Texture& letter = letters[static_cast<std::size_t>(k)];
        loadTexture(letter, dataPath(std::string("images/finished/") + letterFiles[k]));
        totalWidth += static_cast<int>(letter.getSize().x);
    }
}

void BannerWave::reset() {
    phase = 0.0f;
    amplitude = flyingAmplitude;
    alpha = 255.0f;
    incoming = true;
    fadingOut = false;
}

int BannerWave::firstLeft(int viewWidth, int totalWidth) const {
    return (viewWidth >> 1) - (totalWidth >> 1);
}

float BannerWave::letterTop(int k) const {
    return baseline + amplitude * std::sin(waveStep * static_cast<float>(k + 1) - phase);
}

void FinishBanner::draw(GameWindow& window) const {
    float x =
        static_cast<float>(wave.firstLeft(static_cast<int>(ScreenLook::viewWidth), totalWidth));
    const sf::Uint8 opacity = wave.fadingOut ? static_cast<sf::Uint8>(wave.alpha) : 255;
    for (int k = 0; k < letterCount; ++k) {
        const sf::Texture& letter = letters[static_cast<std::size_t>(k)];
        if (letter.getSize().x > 0) {
            sf::Sprite sprite(letter);
            sprite.setColor(sf::Color(255, 255, 255, opacity));
            sprite.setPosition(x, wave.letterTop(k));
            window.draw(sprite);
        }
        x += static_cast<float>(letter.getSize().x);
    }
}

void BannerWave::advance(float frameTime) {
    if (fadingOut && alpha > 0.0f) {
        alpha = std::max(0.0f, alpha - fadeRate * frameTime);
    }
    phase += phaseSpeed * frameTime;
    if (incoming) {
        if (amplitude > restingAmplitude) {
            amplitude *= 1.0f - settleRate * frameTime;
        }
        if (amplitude < restingAmplitude) {
            amplitude = restingAmplitude;
        }
        return;
    }
    if (amplitude < flyingAmplitude) {
        amplitude *= 1.0f + flyRate * frameTime;
    }
    if (amplitude >= flyingAmplitude) {
        amplitude = flyingAmplitude;
        fadingOut = true;
    }
}
