#pragma once

// The game hands its frames to the simulation in whole ticks of 1/1024 s:
// the play screen takes each frame the window measured and carries what is
// left of a tick over to the next frame (FrameTicks::Carry). A tick is a power of two of a second,
// so a frame time is an exact float and the race clock, a sum of them, is exact too (up to four
// hours); and a run stores every frame as a small whole number, which keeps long runs at high frame
// rates small.
namespace FrameTicks {

constexpr int perSecond = 1024;
// The longest frame the game window hands over: a quarter of a second.
constexpr int longestFrame = perSecond / 4;

constexpr float seconds(int ticks) {
    return static_cast<float>(ticks) / static_cast<float>(perSecond);
}

// True with the count when `seconds` is a whole number of ticks from 0 to
// longestFrame.
bool of(float seconds, int& ticks);

// Turns measured frame times into whole ticks, carrying the rest of a tick
// over to the next frame, so the simulation's time keeps pace with the
// window's. A frame that is already whole ticks stays as it is.
class Carry {
  public:
    // The seconds to hand the simulation for a frame of `seconds`; a frame
    // longer than longestFrame is cut there and its rest dropped, as the
    // window drops it (the world slows down after a stall).
    float frame(double seconds);
    void reset() { owed = 0; }

  private:
    static constexpr long long partsPerTick = 1'000'000;
    long long owed = 0;  // in millionths of a tick
};

}  // namespace FrameTicks
