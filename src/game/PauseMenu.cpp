#include "game/PauseMenu.hpp"

#include <SFML/Graphics/RectangleShape.hpp>

#include <algorithm>

#include "app/audio/SoundEffect.hpp"
#include "app/look/ScreenFade.hpp"
#include "app/platform/GameWindow.hpp"

namespace {

enum Item { continueItem = 0, restartItem = 1, nextLevelItem = 2, exitItem = 3 };

const sf::Vector2f panelTopLeft(340.0f, 262.0f);
const sf::Vector2f panelSize(600.0f, 450.0f);
const sf::Color panelColour(0, 0, 0, 128);

}  // namespace

void PauseMenu::setup(const sf::Font& font) {
    list.setItems({"Continue", "Restart", "Next Level", "Exit"}, {300.0f, 400.0f, 500.0f, 600.0f},
                  font, 56);
    list.selected = continueItem;
    list.pulse = 0.0f;
}

void PauseMenu::clearRequests() {
    restartRequested = false;
    nextLevelRequested = false;
}

PauseMenu::Choice PauseMenu::onKeyPressed(sf::Keyboard::Key key, SoundEffect& click) {
    if (fading()) {
        return Choice::none;
    }
    switch (key) {
        case sf::Keyboard::Escape:
            return Choice::resume;
        case sf::Keyboard::Down:
            list.moveDown(click);
            return Choice::none;
        case sf::Keyboard::Up:
            list.moveUp(click);
            return Choice::none;
        case sf::Keyboard::Space:
        case sf::Keyboard::Return:
            break;
        default:
            return Choice::none;
    }
    click.play();
    switch (list.selected) {
        case continueItem:
            return Choice::resume;
        case restartItem:
            restartRequested = true;
            break;
        case nextLevelItem:
            nextLevelRequested = true;
            break;
        default:
            break;
    }
    fade = fadeStart;
    return Choice::none;
}

PauseMenu::Choice PauseMenu::update(float frameTime) {
    list.highlight(frameTime);
    if (!fading()) {
        return Choice::none;
    }
    fade -= fadeRate * frameTime;
    if (fade >= 0.0f) {
        return Choice::none;
    }
    if (restartRequested) {
        return Choice::restart;
    }
    return nextLevelRequested ? Choice::nextLevel : Choice::exit;
}

void PauseMenu::draw(GameWindow& window) const {
    sf::RectangleShape panel(panelSize);
    panel.setPosition(panelTopLeft);
    panel.setFillColor(panelColour);
    window.draw(panel);
    list.draw(window);
    if (fading()) {
        drawBlackCover(window, fadeAlpha());
    }
}

int PauseMenu::fadeAlpha() const {
    return std::clamp(static_cast<int>((1.0f - fade * 0.5f) * 255.0f), 0, 255);
}
