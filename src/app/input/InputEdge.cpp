#include "app/input/InputEdge.hpp"

#include "app/input/PadLayout.hpp"
#include "app/input/TurnEvent.hpp"
#include "app/platform/GameWindow.hpp"

namespace {

sf::Keyboard::Key keyForButton(unsigned button, InputUse use) {
    for (const PadLayout::Button& entry : PadLayout::buttons) {
        if (entry.number == button) {
            return use == InputUse::play ? entry.playKey : entry.menuKey;
        }
    }
    return sf::Keyboard::Unknown;
}

}  // namespace

void InputEdge::setUse(InputUse next, std::deque<sf::Event>& out) {
    if (next == current) {
        return;
    }
    current = next;
    horizontal.ignoreHeld();
    vertical.ignoreHeld();
    // Play may have been rebuilt meanwhile (a restart clears its controls):
    // a stick held or let go while away is told again.
    if (current == InputUse::play && (pads.turnPercent() != 0.0f || sentTurn != 0.0f)) {
        sendTurn(pads.turnPercent(), out);
    }
}

void InputEdge::translate(const sf::Event& raw, std::deque<sf::Event>& out) {
    changes.clear();
    if (!pads.apply(raw, changes)) {
        sf::Event event = raw;
        if (current == InputUse::menu || playKeys.translate(event)) {
            out.push_back(event);
        }
        return;
    }
    for (const PadReader::ButtonChange& change : changes) {
        const sf::Keyboard::Key key = keyForButton(change.button, current);
        if (key != sf::Keyboard::Unknown) {
            out.push_back(buttonKey(key, change.pressed));
        }
    }
    followPads(out);
}

void InputEdge::followPads(std::deque<sf::Event>& out) {
    vertical.follow(pads.verticalPush(), out);
    if (current == InputUse::menu) {
        horizontal.follow(pads.horizontalPush(), out);
        return;
    }
    // Play turns by the push itself; the menu side only keeps track, so a
    // push held into the next menu is known as held.
    std::deque<sf::Event> unused;
    horizontal.follow(pads.horizontalPush(), unused);
    if (pads.turnPercent() != sentTurn) {
        sendTurn(pads.turnPercent(), out);
    }
}

void InputEdge::sendTurn(float percent, std::deque<sf::Event>& out) {
    sentTurn = percent;
    out.push_back(TurnEvent::make(percent));
}

sf::Event InputEdge::buttonKey(sf::Keyboard::Key key, bool pressed) const {
    // In play a pad's jump must not undo a slow or fast key held on the
    // keyboard, which the event's modifier flags would.
    const bool play = current == InputUse::play;
    return GameWindow::keyEvent(key, pressed, play && playKeys.slowHeld(),
                                play && playKeys.fastHeld());
}

void InputEdge::advance(float seconds) {
    if (current != InputUse::menu) {
        return;
    }
    horizontal.advance(seconds);
    vertical.advance(seconds);
}

void InputEdge::takeRepeats(std::deque<sf::Event>& out) {
    if (current != InputUse::menu) {
        return;
    }
    horizontal.takeRepeats(out);
    vertical.takeRepeats(out);
}
