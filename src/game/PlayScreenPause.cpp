// The play screen's pause state.

#include "game/PlayScreen.hpp"

#include "app/platform/GameWindow.hpp"
#include "app/platform/ProgramObjects.hpp"

// One pause frame's update: the menu's keys, its pulse and fade, and the
// choice its fade ends with. Keys are read only while no fade runs; those
// pressed during a fade wait in the queue for whatever state polls next.
void PlayScreen::updatePause(float frameTime) {
    window.setInputUse(InputUse::menu);
    if (!pauseMenu.fading()) {
        sf::Event event;
        while (window.pollEvent(event)) {
            if (event.type == sf::Event::Closed) {
                window.close();
                return;
            }
            if (event.type == sf::Event::KeyPressed &&
                pauseMenu.onKeyPressed(event.key.code, plonkSound) == PauseMenu::Choice::resume) {
                state = playing;
            }
        }
    }
    applyPauseChoice(pauseMenu.update(frameTime));
    gameMusic().update();
}

void PlayScreen::applyPauseChoice(PauseMenu::Choice choice) {
    switch (choice) {
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
}
