#include "menu/IntroScreen.hpp"

#include <algorithm>

#include "app/files/Files.hpp"
#include "app/look/ScreenFade.hpp"
#include "app/look/ScreenLook.hpp"
#include "app/platform/GameWindow.hpp"
#include "sim/base/DataFolder.hpp"

IntroScreen::IntroScreen(GameWindow& gameWindow) : window(gameWindow) {
    ScreenLook::loadFont(font);
    placeLabel(label, font, "Loading, please wait...", 850.0f);
    view = ScreenLook::logicalView();
    window.setView(view);
    jingle.load(dataPath("music/vex.ogg"));
    loadTexture(logoTexture, dataPath("images/3DLogo512Final.png"));
    logoSprite.setTexture(logoTexture, true);
    const sf::Vector2u size = logoTexture.getSize();
    logoSprite.setOrigin(static_cast<float>(size.x) * 0.5f, static_cast<float>(size.y) * 0.5f);
    logoSprite.setPosition(640.0f, 512.0f);
    jingle.play();
}

void IntroScreen::update(float frameTime) {
    handleEvents();
    if (finished || !window.isOpen()) {
        return;
    }
    // A jingle that never started (missing file, no audio) counts as ended, so
    // the intro then lasts one frame.
    if (!jingle.isPlaying()) {
        finished = true;
    }
    fadeElapsed = std::min(fadeElapsed + frameTime, fadeDuration);
}

void IntroScreen::handleEvents() {
    sf::Event event;
    while (window.pollEvent(event)) {
        if (event.type == sf::Event::Closed) {
            window.close();
            continue;
        }
        if (event.type != sf::Event::KeyReleased) {
            continue;
        }
        const auto key = event.key.code;
        if (key == sf::Keyboard::Return || key == sf::Keyboard::Escape ||
            key == sf::Keyboard::Space) {
            jingle.stop();
            fadeElapsed = fadeDuration;
            finished = true;
        }
    }
}

void IntroScreen::draw() const {
    window.clear(sf::Color::Black);
    window.setView(view);
    window.draw(logoSprite);
    const float remaining = 1.0f - fadeElapsed / fadeDuration;
    drawBlackCover(window, std::clamp(static_cast<int>(remaining * 255.0f), 0, 255));
    if (finished) {
        window.draw(label);
    }
    window.display();
}

// The frame that ends the intro is drawn too: it is the loading message.
void IntroScreen::run() {
    while (window.isOpen() && !finished) {
        update(window.frameTime());
        if (!window.isOpen()) {
            break;
        }
        draw();
    }
}
