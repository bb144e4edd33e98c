#include "menu/MenuDrawing.hpp"

#include "app/GameWindow.hpp"
#include "app/MenuList.hpp"
#include "app/ParticleEmitter.hpp"
#include "app/ScreenLook.hpp"

namespace MenuDrawing {

namespace {

// Offset of the shadow in logical units and its darkness for an opaque label.
constexpr float shadowOffset = 3.0f;
constexpr float shadowStrength = 0.35f;

}  // namespace

void beginFrame(GameWindow& window, const sf::View& view, ParticleEmitter* clouds,
                bool drawClouds) {
    window.clear(ScreenLook::backdrop);
    window.setView(view);
    if (drawClouds && clouds != nullptr) {
        clouds->updateAndDraw(window, window.frameTime());
    }
}

void drawLabel(GameWindow& window, const sf::Text& label) {
    sf::Text shadow(label);
    const float alpha = static_cast<float>(label.getFillColor().a) * shadowStrength;
    shadow.setFillColor(sf::Color(20, 30, 60, static_cast<sf::Uint8>(alpha)));
    shadow.move(shadowOffset, shadowOffset);
    window.draw(shadow);
    window.draw(label);
}

void drawMenu(GameWindow& window, const MenuList& menu) {
    for (std::size_t i = 0; i < menu.count(); ++i) {
        drawLabel(window, menu.item(i));
    }
}

}  // namespace MenuDrawing
