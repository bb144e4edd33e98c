#include "app/look/ShadowedLabel.hpp"

#include "app/platform/GameWindow.hpp"

namespace {

// Offset of the shadow in logical units and its darkness for an opaque label.
constexpr float shadowOffset = 3.0f;
constexpr float shadowStrength = 0.35f;
const sf::Color shadowColour(20, 30, 60);

}  // namespace

void drawShadowedLabel(GameWindow& window, const sf::Text& label) {
    sf::Text shadow(label);
    const float alpha = static_cast<float>(label.getFillColor().a) * shadowStrength;
    shadow.setFillColor(
        sf::Color(shadowColour.r, shadowColour.g, shadowColour.b, static_cast<sf::Uint8>(alpha)));
    shadow.move(shadowOffset, shadowOffset);
    window.draw(shadow);
    window.draw(label);
}
