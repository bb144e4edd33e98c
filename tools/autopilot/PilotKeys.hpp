#pragma once

#include <vector>

#include "sim/play/PlayInput.hpp"
#include "sim/play/TurnSpeeds.hpp"

// What the autopilot wants its hands to do in a frame.
struct PilotCommand {
    enum class Speed { slow, normal, fast };  // with Shift, plain, with Control

    int turn = 0;  // +1 Left, -1 Right, 0 no turn key
    Speed speed = Speed::normal;
    bool jump = false;  // Space held
};

// The keyboard under the autopilot's hands: which keys are down, and the key
// inputs a player would make to go from that to a new command. Inputs carry
// the modifiers that are down after them, as the window reports them.
class PilotKeys {
  public:
    std::vector<PlayInput> change(const PilotCommand& command);
    // Degrees per second the world turns with this command.
    static float rate(const PilotCommand& command, const TurnSpeeds& speeds);

  private:
    PlayInput event(PlayKey key, bool pressed) const;

    bool left = false;
    bool right = false;
    bool shift = false;
    bool control = false;
    bool space = false;
};
