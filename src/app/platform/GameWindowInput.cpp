// The game window's input edge and its whole-screen switch.

#include "app/platform/GameWindow.hpp"
#include "app/platform/ProgramObjects.hpp"

namespace {

bool isFullscreenKey(const sf::Event::KeyEvent& key) {
    return key.code == sf::Keyboard::F11 || (key.code == sf::Keyboard::Enter && key.alt);
}

}  // namespace

void GameWindow::setMouseCursorVisible(bool visible) {
    cursorVisible = visible;
    window.setMouseCursorVisible(visible);
}

void GameWindow::setKeyRepeatEnabled(bool enabled) {
    keyRepeat = enabled;
    window.setKeyRepeatEnabled(enabled);
}

bool GameWindow::takeFullscreenSwitch(const sf::Event& event) {
    const bool keyEvent =
        event.type == sf::Event::KeyPressed || event.type == sf::Event::KeyReleased;
    if (!keyEvent || !isFullscreenKey(event.key)) {
        return false;
    }
    // The release is used up too: no screen is to see half of the switch.
    if (event.type == sf::Event::KeyPressed) {
        setFullscreen(!fullscreenOn);
    }
    return true;
}

void GameWindow::setFullscreen(bool on) {
    if (on == fullscreenOn || !window.isOpen()) {
        return;
    }
    fullscreenOn = on;
    const std::uint32_t style = on ? openedStyle | sf::Style::Fullscreen
                                   : openedStyle & ~std::uint32_t(sf::Style::Fullscreen);
    // A size the screen cannot show whole is replaced by SFML with one it can.
    window.create(openedMode, openedTitle, style, openedContext);
    window.setMouseCursorVisible(cursorVisible);
    window.setKeyRepeatEnabled(keyRepeat);
    window.setFramerateLimit(scriptMode ? 0 : frameLimit);
    window.setVerticalSyncEnabled(false);
    settings().setInt("fullscreen", on ? 1 : 0);
}

void GameWindow::notePadsPluggedIn() {
    // A script plays the pads it describes, never the machine's.
    if (scriptMode) {
        return;
    }
    sf::Joystick::update();
    for (unsigned pad = 0; pad < sf::Joystick::Count; ++pad) {
        if (sf::Joystick::isConnected(pad)) {
            input.translate(padConnectionEvent(pad, true), ready);
        }
    }
}

sf::Event GameWindow::padMoveEvent(unsigned pad, sf::Joystick::Axis axis, float position) {
    sf::Event event;
    event.type = sf::Event::JoystickMoved;
    event.joystickMove.joystickId = pad;
    event.joystickMove.axis = axis;
    event.joystickMove.position = position;
    return event;
}

sf::Event GameWindow::padButtonEvent(unsigned pad, unsigned button, bool pressed) {
    sf::Event event;
    event.type = pressed ? sf::Event::JoystickButtonPressed : sf::Event::JoystickButtonReleased;
    event.joystickButton.joystickId = pad;
    event.joystickButton.button = button;
    return event;
}

sf::Event GameWindow::padConnectionEvent(unsigned pad, bool connected) {
    sf::Event event;
    event.type = connected ? sf::Event::JoystickConnected : sf::Event::JoystickDisconnected;
    event.joystickConnect.joystickId = pad;
    return event;
}
