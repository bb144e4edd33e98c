#pragma once

#include <cstddef>
#include <span>
#include <vector>

// When each frame of a run starts, in game time (seconds of frame times, the
// countdown included), and which frame starts at a given time: what a replay
// needs to seek by seconds and to show how far it is. The sums are kept for
// every 256th frame only, so an hour of one-tick frames costs 112 KB instead
// of a sum per frame; a question adds up at most 255 frame times on top.
class RunTimes {
  public:
    explicit RunTimes(std::span<const float> frameTimes);

    std::size_t frameCount() const { return times.size(); }
    // Seconds before frame `frame` starts; the whole run's for frameCount().
    double secondsAt(std::size_t frame) const;
    double totalSeconds() const { return secondsAt(times.size()); }
    // The first frame that starts at or after `seconds` (0 for a time before
    // the run, frameCount() for one after its last frame started).
    std::size_t frameAt(double seconds) const;

  private:
    static constexpr std::size_t blockFrames = 256;

    std::span<const float> times;
    std::vector<double> blockStarts;  // seconds before frame k * blockFrames
};
