// The play screen's pause state.

#include "game/PlayScreen.hpp"

#include "app/GameWindow.hpp"
#include "app/ProgramObjects.hpp"
#include "game/PlayScreenParts.hpp"

void PlayScreen::capturePause() {
    const sf::Image picture = window.capture();
    if (picture.getSize().x == 0 || !pauseCaptureTexture.loadFromImage(picture)) {
        pauseCaptureTexture = sf::Texture();
        return;
    }
    pauseCaptureSprite.setTexture(pauseCaptureTexture, true);
    pauseCaptureSprite.setPosition(0.0f, 0.0f);
    scaleTo(pauseCaptureSprite, pauseCaptureTexture,
            sf::Vector2f(ScreenLook::viewWidth, ScreenLook::viewHeight));
}

// One pause frame: the still picture, the menu and its fade. Keys are read
// only while no fade runs; those pressed during a fade wait in the queue for
// whatever state polls next.
void PlayScreen::pauseFrame() {
    window.setInputUse(InputUse::menu);
    const float frameTime = window.frameTime();
    window.clear(sf::Color::Black);
    window.setView(hudView);
    if (pauseCaptureTexture.getSize().x > 0) {
        window.draw(pauseCaptureSprite);
    }
    if (!pauseMenu.fading()) {
        sf::Event event;
        while (window.pollEvent(event)) {
            if (event.type == sf::Event::Closed) {
                window.close();
            } else if (event.type == sf::Event::KeyPressed &&
                       pauseMenu.onKeyPressed(event.key.code, plonkSound) ==
                           PauseMenu::Choice::resume) {
                state = playing;
            }
        }
        if (!window.isOpen()) {
            return;
        }
    }
    switch (pauseMenu.draw(window, frameTime)) {
        case PauseMenu::Choice::restart:
            clearLevel();
            buildLevel();
            break;
        case PauseMenu::Choice::nextLevel:
            if (levelIndex + 1 < catalogue.size()) {
                clearLevel();
                ++levelIndex;
                buildLevel();
            } else {
                quitRequested = true;
            }
            break;
        case PauseMenu::Choice::exit:
            quitRequested = true;
            break;
        default:
            break;
    }
    window.display();
    gameMusic().update();
}
