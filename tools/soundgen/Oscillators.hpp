#pragma once

#include <cmath>

#include "Dsp.hpp"

namespace soundgen {

// Band-limiting correction around a waveform step (polynomial BLEP), so saws and
// squares do not alias into harsh whistles at high notes.
inline double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// A phase in cycles [0, 1) that advances by frequency / sample rate.
class Phasor {
  public:
    explicit Phasor(double start = 0.0) : phase(start - std::floor(start)) {}

    // Returns the phase before advancing; `hz` may change every sample.
    double step(double hz) {
        const double now = phase;
        increment = hz / sampleRate;
        phase += increment;
        phase -= std::floor(phase);
        return now;
    }
    double lastIncrement() const { return increment; }

  private:
    double phase;
    double increment = 0.0;
};

class SawOsc {
  public:
    explicit SawOsc(double startPhase = 0.0) : phasor(startPhase) {}
    double next(double hz) {
        const double p = phasor.step(hz);
        return 2.0 * p - 1.0 - polyBlep(p, phasor.lastIncrement());
    }

  private:
    Phasor phasor;
};

class SquareOsc {
  public:
    explicit SquareOsc(double startPhase = 0.0, double width = 0.5)
        : phasor(startPhase), pulseWidth(width) {}
    double next(double hz) {
        const double p = phasor.step(hz);
        const double dt = phasor.lastIncrement();
        double value = p < pulseWidth ? 1.0 : -1.0;
        value += polyBlep(p, dt);
        double shifted = p + (1.0 - pulseWidth);
        shifted -= std::floor(shifted);
        value -= polyBlep(shifted, dt);
        return value;
    }

  private:
    Phasor phasor;
    double pulseWidth;
};

class SineOsc {
  public:
    explicit SineOsc(double startPhase = 0.0) : phasor(startPhase) {}
    double next(double hz) { return std::sin(twoPi * phasor.step(hz)); }
    // Phase-modulated sine for FM voices: `modulation` in radians.
    double next(double hz, double modulation) {
        return std::sin(twoPi * phasor.step(hz) + modulation);
    }

  private:
    Phasor phasor;
};

class TriangleOsc {
  public:
    explicit TriangleOsc(double startPhase = 0.0) : phasor(startPhase) {}
    // Naive triangle: its harmonics fall fast enough that aliasing stays inaudible.
    double next(double hz) {
        const double p = phasor.step(hz);
        return 1.0 - 4.0 * std::fabs(p - 0.5);
    }

  private:
    Phasor phasor;
};

}  // namespace soundgen
