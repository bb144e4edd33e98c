#pragma once

// One eye of a title mascot. It waits a random while, then plays its nine
// frames forward and back (0, 1, ..., 8, 8, 7, ..., 0), one step each, and waits
// again with a fresh random wait and step length. The frame changes at most
// once per screen frame, so a step shorter than a frame just plays at frame rate.
class MascotEye {
  public:
    static constexpr int frameCount = 9;
    enum Phase { waiting = 0, forward = 1, backward = 2 };

    // Random ranges in seconds for the waits and steps after the first blink.
    struct Timing {
        float waitMin;
        float waitMax;
        float stepMin;
        float stepMax;
    };

    MascotEye(float firstWait, float firstStep, Timing later);

    // The two eyes of the title mascots: each draws its first wait at random.
    static MascotEye left();
    static MascotEye right();

    // Advances by one screen frame of `frameTime` seconds.
    void update(float frameTime);

    int frame() const { return shownFrame; }
    Phase phase() const { return currentPhase; }
    float waitLeft() const { return wait; }
    float stepLength() const { return step; }

  private:
    void stepBackward(float frameTime);
    void stepForward(float frameTime);

    Timing later;
    float wait;
    float step;
    float stepTimer;
    int shownFrame = 0;
    Phase currentPhase = waiting;
};
