#pragma once

#include <string>
#include <vector>

#include "Arrangement.hpp"
#include "StereoBuffer.hpp"

namespace soundgen {

// How long a sound may be, and for an effect how soon its loudest moment must
// come: an effect answers an event, and the game replays some of them often.
struct Timing {
    double minSeconds = 0.0;
    double maxSeconds = 0.0;
    double loudestWithin = 0.0;  // seconds; effects only
};

// What a finished sound must be for the game to play it cleanly: no sample
// near full scale (the mixer adds channels), silence at both edges (a channel
// that starts or stops on a loud sample clicks), loud enough to be heard, and
// dying away rather than cut off. A looping piece must run from its end into
// its start without a gap, a jump in level or a step between samples. Each
// broken rule gives one line of text; none means the sound is fine.
std::vector<std::string> checkEffect(const StereoBuffer& sound, const Timing& timing);
std::vector<std::string> checkMusic(const StereoBuffer& music, const Piece& piece,
                                    const Timing& timing);

}  // namespace soundgen
