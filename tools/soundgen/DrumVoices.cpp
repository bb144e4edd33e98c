#include <array>
#include <cmath>

#include "Dsp.hpp"
#include "Filters.hpp"
#include "MonoRender.hpp"
#include "Oscillators.hpp"
#include "Voices.hpp"

namespace soundgen {

namespace {

MonoBuffer kick(Random& random) {
    Phasor phase;
    Svf clickFilter;
    return renderFaded(0.45, 0.0, 0.02, [&](double t) {
        // Pitch falls from 150 Hz to 48 Hz: the thump of a tuned drum head.
        const double hz = 48.0 + 102.0 * std::exp(-t / 0.035);
        const double body = std::sin(twoPi * phase.step(hz)) * std::exp(-t / 0.22);
        const double click =
            t < 0.006 ? clickFilter.lowpass(random.noise(), 3000.0, 0.7) * (1.0 - t / 0.006) * 0.5
                      : 0.0;
        return softClip(1.4 * (body + click)) * 1.15;
    });
}

MonoBuffer snare(Random& random) {
    SineOsc low;
    SineOsc high;
    Svf wires;
    OnePole lowCut(900.0);
    return renderFaded(0.3, 0.0005, 0.02, [&](double t) {
        const double shell =
            (0.6 * low.next(185.0) + 0.35 * high.next(330.0)) * std::exp(-t / 0.05);
        const double noise = lowCut.highpass(wires.lowpass(random.noise(), 7000.0, 0.6));
        const double rattle = noise * std::exp(-t / 0.07);
        return 0.55 * shell + 0.8 * rattle;
    });
}

MonoBuffer clap(Random& random) {
    Svf body;
    // Several hands that do not quite meet: three short bursts, then the room.
    constexpr std::array<double, 3> bursts = {0.0, 0.011, 0.023};
    return renderFaded(0.35, 0.0005, 0.02, [&](double t) {
        double env = 0.0;
        for (double start : bursts) {
            if (t >= start && t < start + 0.011) {
                env = std::max(env, std::exp(-(t - start) / 0.004));
            }
        }
        if (t >= bursts.back()) {
            env = std::max(env, 0.7 * std::exp(-(t - bursts.back()) / 0.09));
        }
        return 1.6 * env * body.bandpass(random.noise(), 1300.0, 1.4);
    });
}

// Metallic cymbal tone: six square waves at inharmonic pitches, high-passed.
// It rings until it has fallen by 60 dB, so it never stops audibly.
MonoBuffer metal(Random& random, double decay, double noiseLevel, double cutoffHz) {
    constexpr std::array<double, 6> pitches = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    std::array<SquareOsc, 6> oscillators = {SquareOsc(random.unit()), SquareOsc(random.unit()),
                                            SquareOsc(random.unit()), SquareOsc(random.unit()),
                                            SquareOsc(random.unit()), SquareOsc(random.unit())};
    Svf lowCut;
    Svf shimmer;
    return renderFaded(decay * 6.9, 0.0005, 0.02, [&](double t) {
        double sum = 0.0;
        for (std::size_t k = 0; k < pitches.size(); ++k) {
            sum += oscillators[k].next(pitches[k] * 1.9);
        }
        const double mix = sum / 6.0 + noiseLevel * random.noise();
        const double bright = lowCut.highpass(shimmer.highpass(mix, cutoffHz, 0.7), cutoffHz, 0.7);
        return bright * std::exp(-t / decay);
    });
}

MonoBuffer tom(Random& random, double hz, double decay) {
    Phasor phase;
    Svf skin;
    return renderFaded(decay * 6.0, 0.0005, 0.02, [&](double t) {
        const double f = hz * (1.0 + 0.5 * std::exp(-t / 0.02));
        const double body = std::sin(twoPi * phase.step(f)) * std::exp(-t / decay);
        const double slap = skin.bandpass(random.noise(), hz * 4.0, 1.0) * std::exp(-t / 0.01);
        return 0.9 * body + 0.4 * slap;
    });
}

MonoBuffer rim(Random& random) {
    SineOsc a;
    SineOsc b;
    Svf crack;
    return renderFaded(0.08, 0.0003, 0.01, [&](double t) {
        const double tone = (0.6 * a.next(1700.0) + 0.4 * b.next(820.0)) * std::exp(-t / 0.012);
        const double noise = crack.highpass(random.noise(), 2500.0, 0.7) * std::exp(-t / 0.004);
        return 0.8 * tone + 0.5 * noise;
    });
}

MonoBuffer cowbell(Random& random) {
    SquareOsc a(random.unit());
    SquareOsc b(random.unit());
    Svf body;
    return renderFaded(0.35, 0.0005, 0.02, [&](double t) {
        const double env = 0.7 * std::exp(-t / 0.012) + 0.3 * std::exp(-t / 0.09);
        const double tone = body.bandpass(a.next(587.0) + b.next(845.0), 800.0, 2.0);
        return env * tone;
    });
}

MonoBuffer shaker(Random& random) {
    Svf beads;
    return renderFaded(0.12, 0.0, 0.01, [&](double t) {
        // Beads need a moment to get going: a soft attack, then a quick decay.
        const double env = std::min(1.0, t / 0.012) * std::exp(-std::max(0.0, t - 0.012) / 0.03);
        return env * beads.bandpass(random.noise(), 6500.0, 1.2);
    });
}

}  // namespace

MonoBuffer renderDrum(int drum, int variant) {
    Random random(0xD2u * 977u + static_cast<std::uint64_t>(drum) * 131u +
                  static_cast<std::uint64_t>(variant));
    switch (drum) {
        case Drum::kick:
            return kick(random);
        case Drum::rim:
            return rim(random);
        case Drum::snare:
            return snare(random);
        case Drum::clap:
            return clap(random);
        case Drum::closedHat:
            return metal(random, 0.035, 0.5, 7500.0);
        case Drum::openHat:
            return metal(random, 0.25, 0.5, 7000.0);
        case Drum::crash:
            return metal(random, 0.9, 0.8, 4500.0);
        case Drum::ride:
            return metal(random, 0.3, 0.15, 6000.0);
        case Drum::lowTom:
            return tom(random, 98.0, 0.2);
        case Drum::midTom:
            return tom(random, 131.0, 0.17);
        case Drum::highTom:
            return tom(random, 175.0, 0.15);
        case Drum::conga:
            return tom(random, 330.0, 0.08);
        case Drum::cowbell:
            return cowbell(random);
        case Drum::shaker:
            return shaker(random);
        default:
            return {};
    }
}

}  // namespace soundgen
