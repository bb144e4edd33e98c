#include "menu/MenuDrawing.hpp"

#include "app/look/MenuList.hpp"
#include "app/look/ParticleEmitter.hpp"
#include "app/look/ScreenFade.hpp"
#include "app/look/ScreenLook.hpp"
#include "app/look/ShadowedLabel.hpp"
#include "app/platform/GameWindow.hpp"

namespace MenuDrawing {

bool readMenuKeys(GameWindow& window, const ScreenFade& fade, float fadeInThreshold,
                  const std::function<void(const sf::Event::KeyEvent&)>& onKey) {
    sf::Event event;
    while (window.pollEvent(event)) {
        if (event.type == sf::Event::Closed) {
            window.close();
            return false;
        }
        if (event.type == sf::Event::KeyPressed && fade.acceptsInput(fadeInThreshold)) {
            onKey(event.key);
        }
        if (!window.isOpen()) {
            return false;
        }
    }
    return true;
}

void updateClouds(ParticleEmitter* clouds, bool drawClouds, float frameTime) {
    if (drawClouds && clouds != nullptr) {
        clouds->update(frameTime);
    }
}

void beginFrame(GameWindow& window, const sf::View& view, const ParticleEmitter* clouds,
                bool drawClouds) {
    window.clear(ScreenLook::backdrop);
    window.setView(view);
    if (drawClouds && clouds != nullptr) {
        clouds->draw(window);
    }
}

void drawMenu(GameWindow& window, const MenuList& menu) {
    for (std::size_t i = 0; i < menu.count(); ++i) {
        drawShadowedLabel(window, menu.item(i));
    }
}

void runFrames(GameWindow& window, const std::function<bool()>& over,
               const std::function<void(float)>& update, const std::function<void()>& draw) {
    while (!over() && window.isOpen()) {
        update(window.frameTime());
        if (over() || !window.isOpen()) {
            return;
        }
        draw();
    }
}

}  // namespace MenuDrawing
