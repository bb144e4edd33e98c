#include "app/platform/GameWindow.hpp"

#include <SFML/Graphics/Texture.hpp>

#include <algorithm>

void GameWindow::open(const sf::VideoMode& mode, const std::string& title, std::uint32_t style,
                      const sf::ContextSettings& context) {
    openedMode = mode;
    openedTitle = title;
    openedStyle = style;
    openedContext = context;
    fullscreenOn = (style & sf::Style::Fullscreen) != 0;
    window.create(mode, title, style, context);
    clock.restart();
    lastFrameTime = 0.0f;
    notePadsPluggedIn();
}

void GameWindow::setFramerateLimit(unsigned limit) {
    frameLimit = limit;
    // Scripts run as fast as the machine can draw.
    window.setFramerateLimit(scriptMode ? 0 : limit);
}

void GameWindow::startScript(float fixedFrameSeconds) {
    scriptMode = true;
    fixedFrameTime = fixedFrameSeconds;
    lastFrameTime = fixedFrameSeconds;
    window.setFramerateLimit(0);
    window.setVerticalSyncEnabled(false);
}

void GameWindow::queueEventAt(std::uint64_t frame, const sf::Event& event) {
    timedEvents.emplace_back(frame, event);
    std::stable_sort(timedEvents.begin(), timedEvents.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

bool GameWindow::pollEvent(sf::Event& event) {
    input.takeRepeats(ready);
    sf::Event raw;
    while (ready.empty() && nextRawEvent(raw)) {
        if (!takeFullscreenSwitch(raw)) {
            input.translate(raw, ready);
        }
    }
    if (ready.empty()) {
        return false;
    }
    event = ready.front();
    ready.pop_front();
    return true;
}

bool GameWindow::nextRawEvent(sf::Event& event) {
    if (!scriptMode) {
        return window.pollEvent(event);
    }
    sf::Event ignored;
    while (window.pollEvent(ignored)) {
    }
    while (!timedEvents.empty() && timedEvents.front().first <= frames) {
        scriptEvents.push_back(timedEvents.front().second);
        timedEvents.erase(timedEvents.begin());
    }
    if (budgetExceeded() && !budgetClosedSent) {
        budgetClosedSent = true;
        scriptEvents.push_back(closedEvent());
    }
    if (scriptEvents.empty()) {
        return false;
    }
    event = scriptEvents.front();
    scriptEvents.pop_front();
    return true;
}

void GameWindow::display() {
    if (frameHook) {
        frameHook(*this);
    }
    window.display();
    ++frames;
    lastFrameTime =
        scriptMode ? fixedFrameTime : std::min(clock.restart().asSeconds(), maxFrameTime);
    input.advance(lastFrameTime);
}

sf::Image GameWindow::capture() {
    sf::Texture texture;
    const sf::Vector2u size = window.getSize();
    if (!texture.create(size.x, size.y)) {
        return sf::Image();
    }
    texture.update(window);
    return texture.copyToImage();
}

sf::Event GameWindow::keyEvent(sf::Keyboard::Key key, bool pressed, bool shift, bool control) {
    sf::Event event;
    event.type = pressed ? sf::Event::KeyPressed : sf::Event::KeyReleased;
    event.key.code = key;
    event.key.alt = false;
    event.key.control = control;
    event.key.shift = shift;
    event.key.system = false;
    return event;
}

sf::Event GameWindow::closedEvent() {
    sf::Event event;
    event.type = sf::Event::Closed;
    return event;
}

sf::Event GameWindow::textEvent(std::uint32_t unicode) {
    sf::Event event;
    event.type = sf::Event::TextEntered;
    event.text.unicode = unicode;
    return event;
}
