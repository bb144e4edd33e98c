#include "app/input/PadDirection.hpp"

#include <cmath>

#include "app/input/PadLayout.hpp"
#include "app/platform/GameWindow.hpp"

PadDirection::PadDirection(sf::Keyboard::Key negativeKey, sf::Keyboard::Key positiveKey)
    : negative(negativeKey), positive(positiveKey) {}

void PadDirection::follow(float push, std::deque<sf::Event>& out) {
    const int pushedSide = push < 0.0f ? -1 : 1;
    const float magnitude = std::abs(push);
    const bool holds = side != 0 && pushedSide == side && magnitude >= PadLayout::stepRelease;
    if (holds) {
        return;
    }
    if (side != 0 && !muted) {
        out.push_back(GameWindow::keyEvent(keyOf(side), false));
    }
    side = magnitude >= PadLayout::stepPush ? pushedSide : 0;
    muted = false;
    repeatsDue = 0;
    untilRepeat = PadLayout::repeatDelay;
    if (side != 0) {
        out.push_back(GameWindow::keyEvent(keyOf(side), true));
    }
}

void PadDirection::advance(float seconds) {
    if (side == 0 || muted) {
        return;
    }
    untilRepeat -= seconds;
    while (untilRepeat <= 0.0f) {
        ++repeatsDue;
        untilRepeat += PadLayout::repeatInterval;
    }
}

void PadDirection::takeRepeats(std::deque<sf::Event>& out) {
    for (; repeatsDue > 0; --repeatsDue) {
        out.push_back(GameWindow::keyEvent(keyOf(side), true));
    }
}

void PadDirection::ignoreHeld() {
    muted = side != 0;
    repeatsDue = 0;
}
