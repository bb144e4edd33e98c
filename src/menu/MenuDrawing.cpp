#include "menu/MenuDrawing.hpp"

#include "app/GameWindow.hpp"
#include "app/MenuList.hpp"
#include "app/ParticleEmitter.hpp"
#include "app/ScreenLook.hpp"
#include "app/ShadowedLabel.hpp"

namespace MenuDrawing {

void beginFrame(GameWindow& window, const sf::View& view, ParticleEmitter* clouds,
                bool drawClouds) {
    window.clear(ScreenLook::backdrop);
    window.setView(view);
    if (drawClouds && clouds != nullptr) {
        clouds->updateAndDraw(window, window.frameTime());
    }
}

void drawMenu(GameWindow& window, const MenuList& menu) {
    for (std::size_t i = 0; i < menu.count(); ++i) {
        drawShadowedLabel(window, menu.item(i));
    }
}

}  // namespace MenuDrawing
