#include <algorithm>
#include <cmath>
#include <vector>

#include "Dsp.hpp"
#include "Filters.hpp"
#include "MonoRender.hpp"
#include "Oscillators.hpp"
#include "Random.hpp"
#include "Reverb.hpp"
#include "SoundEffects.hpp"
#include "Voices.hpp"

namespace soundgen {

namespace {

// One resonance of a struck object: frequency, level and decay time constant.
struct Mode {
    double hz;
    double level;
    double decay;  // seconds
};

// Sum of exponentially decaying sine modes, the sound of anything struck.
// `pitchDrop` bends every mode down from (1 + pitchDrop) times its frequency
// in the first 10 ms, as a hard knock momentarily stiffens the material.
MonoBuffer strike(const std::vector<Mode>& modes, double seconds, double pitchDrop,
                  Random& random) {
    std::vector<Phasor> phases;
    for (std::size_t k = 0; k < modes.size(); ++k) {
        phases.emplace_back(random.unit());
    }
    return renderFaded(seconds, 0.0004, std::min(0.02, seconds * 0.2), [&](double t) {
        const double bend = 1.0 + pitchDrop * std::exp(-t / 0.01);
        double sum = 0.0;
        for (std::size_t k = 0; k < modes.size(); ++k) {
            if (modes[k].hz * bend >= sampleRate * 0.45) {
                continue;
            }
            sum += modes[k].level * std::sin(twoPi * phases[k].step(modes[k].hz * bend)) *
                   std::exp(-t / modes[k].decay);
        }
        return sum;
    });
}

// Filtered noise with an exponential decay: the contact itself.
MonoBuffer noiseBurst(double seconds, double decay, double centreHz, double q, Random& random) {
    Svf filter;
    return renderFaded(seconds, 0.0003, std::min(0.005, seconds * 0.2), [&](double t) {
        return filter.bandpass(random.noise(), centreHz, q) * std::exp(-t / decay);
    });
}

StereoBuffer centred(const MonoBuffer& mono) {
    StereoBuffer out;
    out.addMono(mono, 0, 1.0, 0.0);
    return out;
}

// A little room around dry effects so they sit in the same space as the music.
void addRoom(StereoBuffer& buffer, double amount, double roomSize, double extraSeconds) {
    buffer.resize(buffer.frames() + secondsToFrames(extraSeconds));
    MonoBuffer send(buffer.frames());
    for (std::size_t i = 0; i < send.size(); ++i) {
        send[i] = 0.5f * (buffer.left[i] + buffer.right[i]);
    }
    ReverbSettings settings;
    settings.roomSize = roomSize;
    settings.damping = 0.5;
    settings.preDelay = 0.01;
    buffer.addStereo(reverberate(send, settings), 0, amount);
}

void finish(StereoBuffer& buffer, double peakDb, double fadeOutSeconds) {
    buffer.normalisePeak(peakDb);
    buffer.fadeIn(0.0005);
    buffer.fadeOut(fadeOutSeconds);
}

}  // namespace

StereoBuffer renderPlonk() {
    Random random(101);
    // A hollow wooden block: inharmonic modes that die within a tenth of a second.
    MonoBuffer knock = strike({{480.0, 1.0, 0.055},
                               {1230.0, 0.45, 0.03},
                               {2150.0, 0.25, 0.018},
                               {3400.0, 0.12, 0.01},
                               {190.0, 0.35, 0.025}},
                              0.28, 0.04, random);
    addInto(knock, noiseBurst(0.01, 0.0015, 2500.0, 0.8, random), 0, 0.5);
    StereoBuffer out = centred(knock);
    addRoom(out, 0.08, 0.4, 0.0);
    finish(out, -1.5, 0.03);
    return out;
}

StereoBuffer renderCrack() {
    Random random(202);
    StereoBuffer out(secondsToFrames(0.85));
    // The snap: a broadband burst and the brittle ringing of the block.
    MonoBuffer snap = noiseBurst(0.03, 0.004, 2200.0, 0.5, random);
    addInto(snap,
            strike({{880.0, 0.8, 0.025}, {1730.0, 0.6, 0.02}, {2620.0, 0.4, 0.012}}, 0.12, 0.08,
                   random),
            0, 0.7);
    out.addMono(snap, 0, 1.0, 0.0);
    // A second, smaller snap as the piece splits again.
    out.addMono(noiseBurst(0.02, 0.003, 3000.0, 0.7, random), secondsToFrames(0.028), 0.5, 0.2);
    // The weight of it: a short low thud.
    Phasor thudPhase;
    MonoBuffer thud = renderFaded(0.2, 0.001, 0.02, [&](double t) {
        return std::sin(twoPi * thudPhase.step(70.0 + 50.0 * std::exp(-t / 0.03))) *
               std::exp(-t / 0.05);
    });
    out.addMono(thud, 0, 0.7, 0.0);
    // Debris: small pieces knocking about, dense at first, then sparse and soft.
    constexpr int pieces = 28;
    for (int k = 0; k < pieces; ++k) {
        const double u = random.unit();
        const double at = 0.035 + 0.55 * u * u;
        const double hz = random.range(1100.0, 4200.0);
        const double level = 0.45 * (1.0 - at / 0.65) * random.range(0.4, 1.0);
        MonoBuffer grain = strike(
            {{hz, 1.0, random.range(0.004, 0.012)}, {hz * random.range(1.9, 2.7), 0.4, 0.005}},
            0.06, 0.0, random);
        addInto(grain, noiseBurst(0.006, 0.001, hz * 1.5, 1.0, random), 0, 0.4);
        out.addMono(grain, secondsToFrames(at), level, random.range(-0.6, 0.6));
    }
    addRoom(out, 0.12, 0.5, 0.1);
    finish(out, -1.5, 0.05);
    return out;
}

StereoBuffer renderGlass() {
    Random random(303);
    StereoBuffer out(secondsToFrames(1.3));
    // The break: a bright crash and the pane ringing for a moment.
    MonoBuffer impact = noiseBurst(0.08, 0.012, 5000.0, 0.5, random);
    std::vector<Mode> ring;
    for (int k = 0; k < 7; ++k) {
        ring.push_back(
            {random.range(2500.0, 7500.0), random.range(0.2, 0.5), random.range(0.06, 0.25)});
    }
    addInto(impact, strike(ring, 0.9, 0.0, random), 0, 0.5);
    out.addMono(impact, 0, 1.0, 0.0);
    // Shards: tiny high pings that rain down, fewer and quieter as they settle.
    constexpr int shards = 46;
    for (int k = 0; k < shards; ++k) {
        const double at = 0.015 + 0.95 * std::pow(random.unit(), 1.8);
        const double hz = random.range(3000.0, 9500.0);
        const double level = 0.35 * std::pow(1.0 - at / 1.0, 1.5) * random.range(0.3, 1.0);
        MonoBuffer shard = strike({{hz, 1.0, random.range(0.02, 0.07)},
                                   {hz * random.range(1.3, 1.8), 0.5, random.range(0.01, 0.04)},
                                   {hz * random.range(2.1, 2.6), 0.25, 0.01}},
                                  0.3, 0.0, random);
        addInto(shard, noiseBurst(0.004, 0.0008, 8000.0, 0.8, random), 0, 0.3);
        out.addMono(shard, secondsToFrames(at), level, random.range(-0.8, 0.8));
    }
    addRoom(out, 0.15, 0.6, 0.1);
    finish(out, -2.0, 0.1);
    return out;
}

StereoBuffer renderXylophone() {
    Random random(404);
    // A bright C: the bar itself, with a faint bell an octave up for sparkle.
    MonoBuffer note = renderNote(Instrument::Xylophone, {84.0, 0.5, 0.95}, random);
    addInto(note, renderNote(Instrument::Bell, {96.0, 0.3, 0.4}, random), 0, 0.12);
    StereoBuffer out = centred(note);
    addRoom(out, 0.18, 0.6, 0.4);
    out.truncate(std::min(out.frames(), secondsToFrames(1.1)));
    finish(out, -1.5, 0.15);
    return out;
}

StereoBuffer renderClick() {
    Random random(505);
    // A short tuned tick, clearly not a knock: high, clean and very brief.
    MonoBuffer tick = strike({{1320.0, 1.0, 0.03}, {2640.0, 0.35, 0.012}, {3960.0, 0.15, 0.006}},
                             0.16, 0.0, random);
    addInto(tick, noiseBurst(0.004, 0.0006, 4000.0, 0.7, random), 0, 0.5);
    StereoBuffer out = centred(tick);
    addRoom(out, 0.08, 0.4, 0.05);
    finish(out, -4.0, 0.03);
    return out;
}

}  // namespace soundgen
