#include "app/look/ScreenLook.hpp"

#include <fstream>

#include "sim/base/DataFolder.hpp"

namespace ScreenLook {

sf::View logicalView() {
    return sf::View(sf::Vector2f(viewWidth * 0.5f, viewHeight * 0.5f),
                    sf::Vector2f(viewWidth, viewHeight));
}

std::string fontPath() {
    return dataPath("font/VeraBd.ttf");
}

std::string clickSoundPath() {
    return dataPath("sound/plonk.wav");
}

bool loadFont(sf::Font& font) {
    // Checked first: SFML's own complaint would not say where the game looked.
    const std::string path = fontPath();
    if (!std::ifstream(path, std::ios::binary) || !font.loadFromFile(path)) {
        reportUnreadableFile(path);
        return false;
    }
    return true;
}

}  // namespace ScreenLook

void placeLabel(sf::Text& label, const sf::Font& font, const sf::String& text, float y,
                unsigned size) {
    label.setFont(font);
    label.setString(text);
    label.setCharacterSize(size);
    const sf::FloatRect bounds = label.getLocalBounds();
    label.setPosition(ScreenLook::viewWidth * 0.5f - bounds.width * 0.5f, y);
}

void placeTableLine(sf::Text& label, const sf::Font& font, const sf::String& text, float y) {
    label.setFont(font);
    label.setString(text);
    label.setCharacterSize(ScreenLook::tableLineSize);
    label.setPosition(ScreenLook::tableLineX, y);
}

namespace {

sf::Uint8 blendChannel(sf::Uint8 a, sf::Uint8 b, float t) {
    const float value = static_cast<float>(b) + (static_cast<float>(a) - static_cast<float>(b)) * t;
    if (value <= 0.0f) {
        return 0;
    }
    if (value >= 255.0f) {
        return 255;
    }
    return static_cast<sf::Uint8>(value);
}

}  // namespace

sf::Color lerpColor(const sf::Color& a, const sf::Color& b, float t) {
    return sf::Color(blendChannel(a.r, b.r, t), blendChannel(a.g, b.g, t),
                     blendChannel(a.b, b.b, t), blendChannel(a.a, b.a, t));
}
