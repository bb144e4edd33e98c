#include "menu/ControlsScreen.hpp"

#include <vector>

#include "app/look/ScreenLook.hpp"
#include "app/look/ShadowedLabel.hpp"
#include "app/platform/GameWindow.hpp"
#include "app/platform/ProgramObjects.hpp"
#include "menu/MenuDrawing.hpp"

namespace {

// The options' look: the same size and spacing, "Back" at the same place.
constexpr unsigned lineSize = 42;
constexpr unsigned noteSize = 28;
constexpr float firstLineY = 100.0f;
constexpr float lineGap = 60.0f;
constexpr float resetY = 520.0f;
constexpr float messageY = 680.0f;
constexpr float padLineY = 760.0f;
constexpr float backY = 900.0f;
// Keys count only once the fade-in is over.
constexpr float inputThreshold = 0.0f;

float lineTop(int line) {
    if (line == resetControlsLine) {
        return resetY;
    }
    return line == backControlsLine ? backY : firstLineY + lineGap * static_cast<float>(line);
}

}  // namespace

ControlsScreen::ControlsScreen(GameWindow& gameWindow, ParticleEmitter* cloudBackdrop,
                               bool withClouds)
    : window(gameWindow),
      clouds(cloudBackdrop),
      drawClouds(withClouds),
      controls(KeyBindings::read(settings())) {
    ScreenLook::loadFont(font);
    click.load(ScreenLook::clickSoundPath());
    view = ScreenLook::logicalView();
    std::vector<std::string> texts;
    std::vector<float> tops;
    for (int line = 0; line < controlLineCount; ++line) {
        texts.push_back(controls.text(line));
        tops.push_back(lineTop(line));
    }
    menu.setItems(texts, tops, font, lineSize);
    placeLabel(padLine, font, "Pad: stick or d-pad turns, bottom button jumps, Start pauses",
               padLineY, noteSize);
    showLines();
}

void ControlsScreen::showLines() {
    for (int line = 0; line < controlLineCount; ++line) {
        menu.setLabel(static_cast<std::size_t>(line), controls.text(line));
    }
    placeLabel(message, font, controls.message(), messageY, noteSize);
}

void ControlsScreen::leave() {
    controls.bindings.write(settings());
    fade.startFadeOut();
}

void ControlsScreen::handleKey(const sf::Event::KeyEvent& key) {
    if (controls.waiting()) {
        click.play();
        controls.press(key.code);
        showLines();
        return;
    }
    switch (key.code) {
        case sf::Keyboard::Down:
            menu.moveDown(click);
            break;
        case sf::Keyboard::Up:
            menu.moveUp(click);
            break;
        case sf::Keyboard::Return:
        case sf::Keyboard::Space:
            click.play();
            if (!controls.choose(menu.selected)) {
                leave();
            }
            showLines();
            break;
        case sf::Keyboard::Escape:
            click.play();
            leave();
            break;
        default:
            break;
    }
}

void ControlsScreen::update(float frameTime) {
    if (!MenuDrawing::readMenuKeys(window, fade, inputThreshold,
                                   [this](const sf::Event::KeyEvent& key) { handleKey(key); })) {
        return;
    }
    MenuDrawing::updateClouds(clouds, drawClouds, frameTime);
    menu.highlight(frameTime);
    if (fade.advance(frameTime)) {
        quit = true;
    }
    menuMusic().update();
}

void ControlsScreen::draw() const {
    MenuDrawing::beginFrame(window, view, clouds, drawClouds);
    MenuDrawing::drawMenu(window, menu);
    drawShadowedLabel(window, message);
    if (window.padConnected()) {
        drawShadowedLabel(window, padLine);
    }
    fade.draw(window);
    window.display();
}

void ControlsScreen::run() {
    MenuDrawing::runFrames(
        window, [this] { return quit; }, [this](float frameTime) { update(frameTime); },
        [this] { draw(); });
}
