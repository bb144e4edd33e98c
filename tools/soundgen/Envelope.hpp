#pragma once

#include <algorithm>
#include <cmath>

namespace soundgen {

// Attack-decay-sustain-release envelope evaluated in closed form, because every
// note knows its gate length when it is rendered. Times in seconds: the attack
// rises linearly; decay and release are exponential time constants, which
// sounds natural for struck and plucked sounds.
struct Adsr {
    double attack = 0.005;
    double decay = 0.2;
    double sustain = 0.7;
    double release = 0.1;

    // Level at `t` seconds after note-on for a key held `gate` seconds.
    double at(double t, double gate) const {
        if (t < gate) {
            return held(t);
        }
        return held(gate) * std::exp(-(t - gate) / std::max(release, 1e-4));
    }

    // Seconds until the release has fallen by 60 dB.
    double length(double gate) const { return gate + 6.9 * release; }

  private:
    double held(double t) const {
        if (t < attack) {
            return t / attack;
        }
        return sustain + (1.0 - sustain) * std::exp(-(t - attack) / std::max(decay, 1e-4));
    }
};

}  // namespace soundgen
