#pragma once

#include <SFML/Window/Event.hpp>
#include <SFML/Window/Joystick.hpp>

#include <array>
#include <bitset>
#include <vector>

// The state of every pad as its events left it. Nothing here trusts a pad:
// axis positions are clamped to -100..100 (NaN is centred), and events of pad
// slots or buttons SFML does not have are dropped.
class PadReader {
  public:
    struct ButtonChange {
        unsigned button;
        bool pressed;
    };

    // Takes a joystick event (false for any other event) and appends the
    // button presses and releases it made; a pad that goes away releases
    // everything it held.
    bool apply(const sf::Event& event, std::vector<ButtonChange>& changes);

    // The turn of the pad pushed hardest, in percent past the dead zone (see
    // TurnEvent): the stick's push rescaled, or the d-pad's fixed half push.
    float turnPercent() const;
    // The firmest push left (negative) or right of any pad's stick or d-pad,
    // -100..100; menus step on it.
    float horizontalPush() const;
    // The same up (negative) or down.
    float verticalPush() const;
    bool anyConnected() const;

  private:
    struct Pad {
        bool connected = false;
        std::array<float, sf::Joystick::AxisCount> axes{};
        std::bitset<sf::Joystick::ButtonCount> buttons;
    };

    Pad* pad(unsigned slot);
    void disconnect(Pad& pad, std::vector<ButtonChange>& changes);
    float strongest(sf::Joystick::Axis stick, sf::Joystick::Axis hat) const;

    std::array<Pad, sf::Joystick::Count> pads;
};
