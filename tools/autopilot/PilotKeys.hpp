#pragma once

#include <SFML/Window/Event.hpp>

#include <vector>

#include "game/ControlKeys.hpp"

// What the autopilot wants its hands to do in a frame.
struct PilotCommand {
    enum class Speed { slow, normal, fast };  // with Shift, plain, with Control

    int turn = 0;  // +1 Left, -1 Right, 0 no turn key
    Speed speed = Speed::normal;
    bool jump = false;  // Space held
};

// The keyboard under the autopilot's hands: which keys are down, and the key
// events a player would make to go from that to a new command. Events carry
// the modifiers that are down after them, as the window reports them.
class PilotKeys {
  public:
    std::vector<sf::Event> change(const PilotCommand& command);
    // Degrees per second the world turns with this command.
    static float rate(const PilotCommand& command, const TurnSpeeds& speeds);

  private:
    sf::Event event(sf::Keyboard::Key key, bool pressed) const;

    bool left = false;
    bool right = false;
    bool shift = false;
    bool control = false;
    bool space = false;
};
