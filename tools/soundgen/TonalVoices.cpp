#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "Dsp.hpp"
#include "Envelope.hpp"
#include "Filters.hpp"
#include "MonoRender.hpp"
#include "Oscillators.hpp"
#include "Voices.hpp"

namespace soundgen {

namespace {

// Pitch multiplier for a vibrato that fades in after `delay` seconds.
double vibrato(double t, double delay, double rateHz, double semitones) {
    if (t < delay) {
        return 1.0;
    }
    const double ramp = std::min(1.0, (t - delay) / 0.4);
    return std::pow(2.0, ramp * semitones * std::sin(twoPi * rateHz * (t - delay)) / 12.0);
}

// Higher notes of struck instruments die away faster.
double pitchDecay(double hz, double atA4, double exponent) {
    return atA4 * std::pow(440.0 / hz, exponent);
}

// A held note: `level` times the envelope times `tone(t)`, sounding until the
// release has died away.
template <typename Tone>
MonoBuffer envelopedNote(const Adsr& amp, const NoteSpec& note, double level, Tone tone) {
    return renderMono(secondsToFrames(amp.length(note.gate)),
                      [&](double t) { return level * amp.at(t, note.gate) * tone(t); });
}

MonoBuffer electricPiano(const NoteSpec& note) {
    const double hz = midiToHz(note.midi);
    const Adsr amp{0.002, std::clamp(pitchDecay(hz, 1.1, 0.5), 0.3, 3.0), 0.0, 0.18};
    SineOsc body;
    SineOsc bodyModulator;
    SineOsc tine;
    SineOsc tineModulator;
    const double level = 0.35 + 0.65 * note.velocity;
    return envelopedNote(amp, note, level, [&](double t) {
        // The bark of a hard key: more modulation at the attack, more with velocity.
        const double barkIndex = note.velocity * (1.6 * std::exp(-t / 0.35)) + 0.35;
        const double tineIndex = note.velocity * 1.3 * std::exp(-t / 0.025);
        const double b = body.next(hz, barkIndex * bodyModulator.next(hz));
        const double tn = tine.next(hz, tineIndex * tineModulator.next(hz * 14.0));
        return 0.7 * b + 0.3 * tn;
    });
}

// A struck bar: decaying sine partials plus a short mallet noise.
MonoBuffer modalBar(const NoteSpec& note, const std::array<double, 3>& ratios,
                    const std::array<double, 3>& levels, double decayAtA4, Random& random) {
    const double hz = midiToHz(note.midi);
    const double tau = std::clamp(pitchDecay(hz, decayAtA4, 0.6), 0.06, 1.5);
    const std::array<double, 3> taus = {tau, tau * 0.22, tau * 0.07};
    std::array<SineOsc, 3> partials;
    Svf malletFilter;
    const double level = 0.3 + 0.7 * note.velocity;
    const double attack = 0.0008;
    return renderFaded(tau * 7.0 + 0.01, 0.0, 0.01, [&](double t) {
        double sum = 0.0;
        for (std::size_t p = 0; p < 3; ++p) {
            const double f = hz * ratios[p];
            if (f > sampleRate * 0.45) {
                continue;
            }
            const double bright = p == 0 ? 1.0 : note.velocity;
            sum += levels[p] * bright * partials[p].next(f) * std::exp(-t / taus[p]);
        }
        const double onset = std::min(1.0, t / attack);
        double mallet = 0.0;
        if (t < 0.004) {
            mallet = malletFilter.bandpass(random.noise(), hz * 3.0, 1.5) * (1.0 - t / 0.004) *
                     0.6 * note.velocity;
        }
        return level * (onset * sum + mallet);
    });
}

MonoBuffer bell(const NoteSpec& note) {
    const double hz = midiToHz(note.midi);
    const double tau = std::clamp(pitchDecay(hz, 1.4, 0.4), 0.3, 3.0);
    const double length = std::min(note.gate + 0.6, tau * 6.0);
    SineOsc carrier;
    SineOsc modulator;
    return renderFaded(length + 0.2, 0.0, 0.01, [&](double t) {
        const double index = 2.2 * note.velocity * std::exp(-t / (tau * 0.4)) + 0.15;
        const double value = carrier.next(hz, index * modulator.next(hz * 4.0));
        double env = std::exp(-t / tau) * std::min(1.0, t / 0.001);
        if (t > length) {
            env *= std::exp(-(t - length) / 0.03);
        }
        return (0.3 + 0.7 * note.velocity) * env * value;
    });
}

MonoBuffer lead(const NoteSpec& note) {
    const double hz = midiToHz(note.midi);
    const Adsr amp{0.006, 0.3, 0.75, 0.12};
    const Adsr filterEnv{0.003, 0.25, 0.3, 0.2};
    SawOsc sawA(0.1);
    SawOsc sawB(0.6);
    SquareOsc pulse(0.3, 0.4);
    Svf filter;
    const double detune = std::pow(2.0, 6.0 / 1200.0);
    return envelopedNote(amp, note, (0.4 + 0.6 * note.velocity), [&](double t) {
        const double f = hz * vibrato(t, 0.25, 5.2, 0.2);
        const double raw =
            0.4 * sawA.next(f * detune) + 0.4 * sawB.next(f / detune) + 0.35 * pulse.next(f);
        const double cutoff = f * (2.0 + 6.0 * note.velocity * filterEnv.at(t, note.gate)) + 400.0;
        const double filtered = filter.lowpass(raw, cutoff, 0.9);
        return filtered;
    });
}

MonoBuffer softLead(const NoteSpec& note, Random& random) {
    const double hz = midiToHz(note.midi);
    const Adsr amp{0.045, 0.3, 0.8, 0.15};
    SineOsc sine;
    TriangleOsc triangle;
    Svf breath;
    return envelopedNote(amp, note, (0.4 + 0.6 * note.velocity), [&](double t) {
        const double f = hz * vibrato(t, 0.3, 4.8, 0.15);
        const double tone = 0.8 * sine.next(f) + 0.25 * triangle.next(f * 2.0);
        const double air = breath.bandpass(random.noise(), f * 2.0, 2.0) * 0.35;
        return tone + air;
    });
}

MonoBuffer pad(const NoteSpec& note, Random& random) {
    const double hz = midiToHz(note.midi);
    const Adsr amp{0.6, 1.0, 0.85, 0.9};
    constexpr int voices = 6;
    std::vector<SawOsc> saws;
    std::vector<double> ratios;
    for (int v = 0; v < voices; ++v) {
        saws.emplace_back(random.unit());
        const double cents = -14.0 + 28.0 * v / (voices - 1);
        ratios.push_back(std::pow(2.0, cents / 1200.0));
    }
    SawOsc octave(random.unit());
    Svf filter;
    const double sweepPhase = random.unit();
    return envelopedNote(amp, note, 0.8, [&](double t) {
        double sum = 0.0;
        for (int v = 0; v < voices; ++v) {
            sum += saws[v].next(hz * ratios[v]);
        }
        sum = sum / voices + 0.25 * octave.next(hz * 2.0);
        // A slow breathing of the filter keeps long chords alive.
        const double sweep = 0.5 + 0.5 * std::sin(twoPi * (0.15 * t + sweepPhase));
        const double cutoff = std::min(hz * 6.0, 2600.0) + 900.0 * sweep;
        return filter.lowpass(sum, cutoff, 0.7);
    });
}

MonoBuffer synthBass(const NoteSpec& note) {
    const double hz = midiToHz(note.midi);
    const Adsr amp{0.002, 0.4, 0.8, 0.04};
    const Adsr filterEnv{0.001, 0.09, 0.1, 0.05};
    SawOsc saw;
    // A rising saw's fundamental is a negative sine: the sine starts half a
    // cycle on so the two add up instead of cancelling.
    SineOsc sub(0.5);
    Svf filter;
    const double drive = 1.6;
    return envelopedNote(amp, note, (0.5 + 0.5 * note.velocity), [&](double t) {
        const double cutoff =
            hz * 1.5 + 2200.0 * note.velocity * filterEnv.at(t, note.gate) + 120.0;
        const double tone = filter.lowpass(saw.next(hz), cutoff, 1.2) + 0.5 * sub.next(hz);
        const double shaped = std::tanh(drive * tone) / std::tanh(drive);
        return shaped;
    });
}

MonoBuffer roundBass(const NoteSpec& note) {
    const double hz = midiToHz(note.midi);
    const Adsr amp{0.008, 0.5, 0.7, 0.08};
    SineOsc first;
    SineOsc second;
    SineOsc third;
    return envelopedNote(amp, note, (0.5 + 0.5 * note.velocity), [&](double t) {
        // Upper partials fade quickly: a soft pluck, then a round tone.
        const double pluck = std::exp(-t / 0.15);
        const double tone = first.next(hz) + (0.15 + 0.2 * pluck) * second.next(hz * 2.0) +
                            0.1 * pluck * third.next(hz * 3.0);
        return tone;
    });
}

MonoBuffer fmBass(const NoteSpec& note) {
    const double hz = midiToHz(note.midi);
    const Adsr amp{0.001, 0.35, 0.55, 0.05};
    SineOsc carrier;
    SineOsc modulator;
    SineOsc sub;
    return renderMono(secondsToFrames(amp.length(note.gate)), [&](double t) {
        const double index = 3.5 * note.velocity * std::exp(-t / 0.06) + 0.6;
        const double tone = carrier.next(hz, index * modulator.next(hz)) + 0.5 * sub.next(hz);
        return (0.5 + 0.5 * note.velocity) * amp.at(t, note.gate) * tone * 0.7;
    });
}

// Karplus-Strong: a burst of noise circulating in a delay line tuned to the
// pitch, losing its brightness a little on every round.
MonoBuffer pluck(const NoteSpec& note, Random& random) {
    const double hz = midiToHz(note.midi);
    const double period = sampleRate / hz;
    // The two-point average in the loop adds half a frame of delay; an all-pass
    // filter supplies the remaining fraction so the string is in tune.
    const double loopDelay = period - 0.5;
    const std::size_t whole = static_cast<std::size_t>(std::floor(loopDelay - 0.1));
    const double fraction = loopDelay - static_cast<double>(whole);
    const double allPassCoefficient = (1.0 - fraction) / (1.0 + fraction);
    const double tau = std::clamp(pitchDecay(hz, 1.0, 0.5), 0.2, 2.5);
    const double lossPerRound = std::exp(-period / (tau * sampleRate));
    const double length = note.gate + 0.25;

    std::vector<double> line(whole, 0.0);
    Svf brightness;
    const double cutoff = 1500.0 + 6000.0 * note.velocity;
    for (double& value : line) {
        value = brightness.lowpass(random.noise(), cutoff, 0.7);
    }
    std::size_t index = 0;
    double previous = 0.0;
    double allPassIn = 0.0;
    double allPassOut = 0.0;
    const double gateLoss = std::exp(-period / (0.06 * sampleRate));
    return renderFaded(length + 0.1, 0.0, 0.02, [&](double t) {
        const double current = line[index];
        const double averaged = 0.5 * (current + previous);
        previous = current;
        allPassOut = allPassCoefficient * (averaged - allPassOut) + allPassIn;
        allPassIn = averaged;
        // A released string is damped by the finger.
        const double loss = t < note.gate ? lossPerRound : lossPerRound * gateLoss;
        line[index] = allPassOut * loss;
        index = (index + 1) % line.size();
        return (0.4 + 0.6 * note.velocity) * current;
    });
}

MonoBuffer brass(const NoteSpec& note) {
    const double hz = midiToHz(note.midi);
    const Adsr amp{0.025, 0.3, 0.85, 0.12};
    const Adsr filterEnv{0.06, 0.3, 0.6, 0.15};
    SawOsc a(0.0);
    SawOsc b(0.33);
    SawOsc c(0.66);
    Svf filter;
    const double detune = std::pow(2.0, 8.0 / 1200.0);
    return envelopedNote(amp, note, (0.4 + 0.6 * note.velocity), [&](double t) {
        // Players reach the note from slightly below.
        const double scoop = std::pow(2.0, -0.4 * std::exp(-t / 0.03) / 12.0);
        const double f = hz * scoop * vibrato(t, 0.3, 5.0, 0.12);
        const double raw = (a.next(f) + b.next(f * detune) + c.next(f / detune)) / 3.0;
        const double cutoff =
            f * (1.2 + 5.0 * (0.4 + 0.6 * note.velocity) * filterEnv.at(t, note.gate));
        const double tone = std::tanh(1.5 * filter.lowpass(raw, cutoff, 0.8));
        return tone;
    });
}

}  // namespace

MonoBuffer renderNote(Instrument instrument, const NoteSpec& note, Random& random) {
    switch (instrument) {
        case Instrument::ElectricPiano:
            return electricPiano(note);
        case Instrument::Marimba:
            return modalBar(note, {1.0, 3.99, 9.9}, {1.0, 0.35, 0.1}, 0.45, random);
        case Instrument::Xylophone:
            return modalBar(note, {1.0, 3.0, 6.1}, {1.0, 0.45, 0.2}, 0.28, random);
        case Instrument::Bell:
            return bell(note);
        case Instrument::Lead:
            return lead(note);
        case Instrument::SoftLead:
            return softLead(note, random);
        case Instrument::Pad:
            return pad(note, random);
        case Instrument::SynthBass:
            return synthBass(note);
        case Instrument::RoundBass:
            return roundBass(note);
        case Instrument::FmBass:
            return fmBass(note);
        case Instrument::Pluck:
            return pluck(note, random);
        case Instrument::Brass:
            return brass(note);
    }
    return {};
}

}  // namespace soundgen
