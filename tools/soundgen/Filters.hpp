#pragma once

#include <algorithm>
#include <cmath>

#include "Dsp.hpp"

namespace soundgen {

// State-variable filter (trapezoidal, zero-delay feedback): stays stable while
// its cutoff sweeps every sample, which the synth voices rely on.
class Svf {
  public:
    struct Outputs {
        double low;
        double band;
        double high;
    };

    // `cutoffHz` is clamped below Nyquist; `q` 0.5 (soft) .. 10 (ringing).
    Outputs process(double input, double cutoffHz, double q) {
        const double fc = std::clamp(cutoffHz, 10.0, sampleRate * 0.45);
        const double g = std::tan(pi * fc / sampleRate);
        const double k = 1.0 / std::max(q, 0.05);
        const double a1 = 1.0 / (1.0 + g * (g + k));
        const double a2 = g * a1;
        const double a3 = g * a2;
        const double v3 = input - ic2;
        const double v1 = a1 * ic1 + a2 * v3;
        const double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0 * v1 - ic1;
        ic2 = 2.0 * v2 - ic2;
        return {v2, v1, input - k * v1 - v2};
    }
    double lowpass(double input, double cutoffHz, double q) {
        return process(input, cutoffHz, q).low;
    }
    double bandpass(double input, double cutoffHz, double q) {
        return process(input, cutoffHz, q).band;
    }
    double highpass(double input, double cutoffHz, double q) {
        return process(input, cutoffHz, q).high;
    }

  private:
    double ic1 = 0.0;
    double ic2 = 0.0;
};

// One-pole smoothing filter with a fixed cutoff.
class OnePole {
  public:
    explicit OnePole(double cutoffHz) : coefficient(std::exp(-twoPi * cutoffHz / sampleRate)) {}
    double lowpass(double input) {
        state = input + coefficient * (state - input);
        return state;
    }
    double highpass(double input) { return input - lowpass(input); }

  private:
    double coefficient;
    double state = 0.0;
};

}  // namespace soundgen
