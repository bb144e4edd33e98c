#pragma once

#include "StereoBuffer.hpp"

namespace soundgen {

// Stereo chorus: each side hears a copy delayed by a slowly swinging amount,
// the two swinging in opposite phase, which widens pads and pianos.
struct ChorusSettings {
    double rateHz = 0.5;
    double baseDelay = 0.012;  // seconds
    double depth = 0.003;      // seconds
    double mix = 0.5;          // 0 dry .. 1 only the delayed copies
};
void chorus(StereoBuffer& buffer, const ChorusSettings& settings);

// Ping-pong echo added to the buffer: repeats bounce between left and right,
// each one darker and quieter.
struct EchoSettings {
    double delay = 0.375;  // seconds
    double feedback = 0.35;
    double mix = 0.25;
    double toneHz = 3500.0;  // low-pass in the feedback path
};
void pingPongEcho(StereoBuffer& buffer, const EchoSettings& settings);

// Keeps every sample at or below `ceilingDb` dBFS with a look-ahead gain
// envelope that dips smoothly before a peak and recovers over `releaseSeconds`.
// With `circular` the envelope wraps around the end, so a looped piece has the
// same gain on both sides of the seam.
void limit(StereoBuffer& buffer, double ceilingDb, double releaseSeconds, bool circular);

// Removes DC and subsonic rumble below `cutoffHz`.
void highPass(StereoBuffer& buffer, double cutoffHz);

}  // namespace soundgen
