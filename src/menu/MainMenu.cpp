#include "menu/MainMenu.hpp"

#include "app/GameWindow.hpp"
#include "app/ScreenLook.hpp"

MainMenu::MainMenu(GameWindow& gameWindow) : window(gameWindow) {
    view = ScreenLook::logicalView();
    ScreenLook::loadFont(font);
}

void MainMenu::run() {
    while (window.isOpen() && !quit) {
        sf::Event event;
        while (window.pollEvent(event)) {
            if (event.type == sf::Event::Closed) {
                window.close();
            } else if (event.type == sf::Event::KeyPressed &&
                       event.key.code == sf::Keyboard::Escape && fade.acceptsInput(1.5f)) {
                fade.startFadeOut();
            }
        }
        window.clear(ScreenLook::backdrop);
        window.setView(view);
        if (fade.draw(window, window.frameTime())) {
            quit = true;
        }
        window.display();
    }
}
