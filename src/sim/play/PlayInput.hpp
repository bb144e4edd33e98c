#pragma once

#include <cstdint>

// The keys play knows, by the names runs record them with. Keys of no
// action of play reach the simulation as `other`: they only carry the Shift
// and Control flags of their event.
enum class PlayKey : std::uint8_t {
    left,
    right,
    up,
    down,
    space,
    enter,
    escape,
    leftShift,
    rightShift,
    leftControl,
    rightControl,
    other,
};

// One input of play, the same whatever device made it: the keyboard (its keys
// remapped to the actions' own keys), a pad's stick, d-pad and buttons. The
// simulation is given these and nothing else, and a recorded run keeps
// exactly these, so a run replays as it was played with any device.
//
// A key input is a press or release with the Shift (slow) and Control (fast)
// flags its event carried. A turn is how far a pad is pushed, in percent of a
// full push: -100 full left, 100 full right, 0 let go; 50 turns at the normal
// speed (the d-pad sends exactly that).
struct PlayInput {
    enum class Kind : std::uint8_t { press, release, turn };

    static constexpr float fullPush = 100.0f;

    Kind kind = Kind::press;
    PlayKey key = PlayKey::other;
    bool shift = false;
    bool control = false;
    float turn = 0.0f;  // percent, Kind::turn only

    static PlayInput pressed(PlayKey key, bool shift = false, bool control = false);
    static PlayInput released(PlayKey key, bool shift = false, bool control = false);
    // `percent` clamped to -100..100; NaN is 0.
    static PlayInput padTurn(float percent);

    bool isKey() const { return kind != Kind::turn; }
    bool operator==(const PlayInput&) const = default;
};

// NaN to 0, then -100..100.
float clampTurnPercent(float percent);
