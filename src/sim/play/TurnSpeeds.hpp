#pragma once

// Turn rates of the world in degrees per second, as the options set them.
struct TurnSpeeds {
    // The range the options offer. A run is replayed only with speeds in it,
    // and the game plays only with speeds in it, whatever the settings file
    // says: a world turned faster than anyone can play is no race.
    static constexpr float slowest = 100.0f;
    static constexpr float fastest = 720.0f;

    float turn = 280.0f;
    float shift = 140.0f;    // Shift (slow) held
    float control = 420.0f;  // Control (fast) held
    bool inverted = false;   // Left and Right swapped

    // True when every speed is a number within slowest..fastest.
    bool withinRange() const;
    // Each speed brought into slowest..fastest (NaN to the default).
    TurnSpeeds clamped() const;
};
