#include <cmath>

#include "Arrangement.hpp"
#include "Dsp.hpp"
#include "Filters.hpp"
#include "Notation.hpp"
#include "Oscillators.hpp"
#include "PieceSetup.hpp"
#include "SoundEffects.hpp"

namespace soundgen {

namespace {

// Short one-shot pieces share the music's instruments and room.
Piece oneShot(int bpm, double seconds, std::uint64_t seed) {
    Piece piece = oneShotPiece(bpm, seconds, seed);
    setRoom(piece, 0.6, 0.4, 0.8);
    piece.targetRmsDb = -12.0;
    piece.ceilingDb = -1.0;
    return piece;
}

// Signals are brought to a fixed peak so each sits at its own level in the game.
StereoBuffer rendered(const Piece& piece, double peakDb) {
    StereoBuffer out = renderPiece(piece);
    out.normalisePeak(peakDb);
    return out;
}

}  // namespace

StereoBuffer renderHorn() {
    // A bright major chord blown hard: the race has started.
    Piece piece = oneShot(120, 1.25, 11);
    Track& brass = piece.addTrack("horn", Instrument::Brass, tightMix(1.0, 0.0, 0.25));
    for (const char* name : {"D4", "A4", "D5", "F#5"}) {
        brass.add(0.0, 1.5, noteNumber(name), 1.0, name[0] == 'F' ? 0.2 : -0.1);
    }
    Track& edge = piece.addTrack("edge", Instrument::Lead, tightMix(0.35, 0.0, 0.2));
    edge.add(0.0, 1.5, noteNumber("A5"), 0.9);
    Track& drums = piece.addDrums("drums", tightMix(0.6, 0.0, 0.3));
    drums.add(0.0, 0.5, Drum::kick, 1.0);
    drums.add(0.0, 0.5, Drum::crash, 0.25);
    return rendered(piece, -2.0);
}

StereoBuffer renderPersonalBest() {
    // Triplet call, rising answer and a long major chord with bells on top.
    Piece piece = oneShot(120, 3.3, 12);
    Track& lead = piece.addTrack("trumpet", Instrument::Brass, tightMix(0.8, 0.15, 0.3));
    melody(lead, 0.0, "G4:1/3' G4:1/3' G4:1/3' C5:1! E5:1/2 G5:1/2 C6:2.5!", 1.0);
    Track& section = piece.addTrack("section", Instrument::Brass, tightMix(0.55, -0.2, 0.3));
    melody(section, 1.0, "C4+E4+G4:1 F4+A4+C5:1/2 G4+B4+D5:1/2 C4+G4+C5+E5:2.5", 0.85);
    Track& bass = piece.addTrack("bass", Instrument::FmBass, tightMix(0.6, 0.0, 0.1));
    melody(bass, 1.0, "C2:1 F2:1/2 G2:1/2 C2:2.5", 0.9);
    Track& bells = piece.addTrack("bells", Instrument::Bell, tightMix(0.25, 0.3, 0.5));
    melody(bells, 3.0, "C6:1/4 E6:1/4 G6:1/4 C7:1.5", 0.7);
    Track& drums = piece.addDrums("drums", tightMix(0.55, 0.0, 0.3));
    for (int k = 0; k < 6; ++k) {
        drums.add(k / 6.0, 0.1, Drum::snare, 0.3 + 0.1 * k);
    }
    drums.add(1.0, 0.5, Drum::kick, 1.0);
    drums.add(1.0, 0.5, Drum::crash, 0.35);
    drums.add(3.0, 0.5, Drum::kick, 1.0);
    drums.add(3.0, 0.5, Drum::lowTom, 0.9);
    drums.add(3.0, 0.5, Drum::crash, 0.4);
    return rendered(piece, -2.0);
}

StereoBuffer renderFinish() {
    // A friendly cadence on marimba and piano: done, well played.
    Piece piece = oneShot(132, 2.5, 13);
    Track& marimba = piece.addTrack("marimba", Instrument::Marimba, tightMix(0.9, 0.2, 0.3));
    melody(marimba, 0.0, "E5:1/2 G5:1/2 F5:1/2 D5:1/2 B4:1/2 D5:1/2 C5:2!", 0.9);
    Track& piano = piece.addTrack("piano", Instrument::ElectricPiano, tightMix(0.55, -0.2, 0.3));
    melody(piano, 0.0, "C4+E4+G4:1 D4+F4+A4:1 D4+F4+G4+B4:1 C4+E4+G4+C5:2", 0.7);
    Track& bass = piece.addTrack("bass", Instrument::RoundBass, tightMix(0.6, 0.0, 0.1));
    melody(bass, 0.0, "C3:1 F2:1 G2:1 C2:2", 0.8);
    Track& drums = piece.addDrums("drums", tightMix(0.35, 0.0, 0.2));
    drums.add(0.0, 0.2, Drum::shaker, 0.6);
    drums.add(1.0, 0.2, Drum::shaker, 0.5);
    drums.add(2.0, 0.2, Drum::shaker, 0.5);
    drums.add(3.0, 0.2, Drum::conga, 0.8);
    return rendered(piece, -2.5);
}

StereoBuffer renderBeam() {
    // A rising FM sweep with a glassy ring at its top: the ball takes a colour.
    const double seconds = 0.5;
    StereoBuffer out(secondsToFrames(seconds));
    SineOsc carrier;
    SineOsc modulator;
    SineOsc shimmer;
    SineOsc shimmerModulator;
    for (std::size_t i = 0; i < out.frames(); ++i) {
        const double t = framesToSeconds(i);
        const double sweep = 380.0 * std::pow(2.0, std::min(t, 0.22) / 0.22 * 2.6);
        const double index = 2.8 * std::exp(-t / 0.12) + 0.4;
        const double zap = carrier.next(sweep, index * modulator.next(sweep * 1.5));
        const double env = std::min(1.0, t / 0.006) * std::exp(-t / 0.11);
        const double ringEnv = std::min(1.0, std::max(0.0, t - 0.12) / 0.03) * std::exp(-t / 0.14);
        const double ring = shimmer.next(2300.0, 0.8 * shimmerModulator.next(2300.0 * 2.01));
        // The sweep leans left and the ring right, so the zap seems to travel.
        const double a = 0.8 * zap * env;
        const double b = 0.35 * ring * ringEnv;
        out.left[i] = static_cast<float>(a * 0.9 + b * 0.6);
        out.right[i] = static_cast<float>(a * 0.6 + b * 0.9);
    }
    ChorusSettings settings;
    settings.rateHz = 3.0;
    settings.mix = 0.35;
    chorus(out, settings);
    out.normalisePeak(-5.0);
    out.fadeIn(0.001);
    out.fadeOut(0.08);
    return out;
}

const std::vector<SoundEffectRecipe>& soundEffects() {
    // plonk is the knock of every contact and the menu click, click the
    // countdown tick; both repeat quickly. The fanfares may take their time.
    static const std::vector<SoundEffectRecipe> recipes = {
        {"plonk.wav", renderPlonk, {0.05, 0.5, 0.02}},
        {"crack.wav", renderCrack, {0.2, 1.5, 0.05}},
        {"glass.wav", renderGlass, {0.3, 2.0, 0.05}},
        {"xylophone.wav", renderXylophone, {0.2, 2.0, 0.03}},
        {"click.wav", renderClick, {0.05, 0.4, 0.02}},
        {"horn.wav", renderHorn, {0.5, 2.0, 0.5}},
        {"pb.wav", renderPersonalBest, {1.0, 4.0, 2.5}},
        {"finish.wav", renderFinish, {1.0, 4.0, 2.0}},
        {"beam.wav", renderBeam, {0.1, 1.0, 0.3}},
    };
    return recipes;
}

}  // namespace soundgen
