#include "Composer.hpp"
#include "Pieces.hpp"

namespace soundgen {

// The logo's signature: a shimmering pad swells, a mallet runs up to a bright
// chord hit, and a little sparkle answers while the logo finishes fading in.
// 120 beats per minute, so one beat is half a second.
Piece composeLogoJingle() {
    Piece piece;
    piece.bpm = 120;
    piece.loops = false;
    piece.lengthSeconds = 4.6;
    piece.seed = 0x5EED01;
    piece.reverb.roomSize = 0.85;
    piece.reverb.damping = 0.35;
    piece.reverbReturn = 1.0;
    piece.targetRmsDb = -16.0;
    piece.ceilingDb = -2.5;

    TrackMix padMix;
    padMix.gain = 0.35;
    padMix.reverbSend = 0.5;
    padMix.chorus = ChorusSettings{};
    Track& pad = piece.addTrack("pad", Instrument::Pad, padMix);
    melody(pad, 0.0, "C4+G4+D5+E5:5.5", 0.6);

    TrackMix malletMix;
    malletMix.gain = 0.7;
    malletMix.pan = 0.15;
    malletMix.reverbSend = 0.4;
    malletMix.humanise = 0.0;
    Track& mallet = piece.addTrack("mallet", Instrument::Marimba, malletMix);
    melody(mallet, 0.5, "C5:1/2 G5:1/2 E5:1/4 A5:1/4 B5:1/4 r:1/4 C6:2!", 0.85);
    melody(mallet, 3.0, "E6:1/4 G6:1/4 C7:1", 0.55);

    TrackMix bellMix = malletMix;
    bellMix.gain = 0.3;
    bellMix.pan = -0.25;
    bellMix.reverbSend = 0.6;
    Track& bell = piece.addTrack("bell", Instrument::Bell, bellMix);
    melody(bell, 2.0, "C6+G6:3", 0.8);
    melody(bell, 3.0, "E7:1/4 G7:1", 0.4);

    TrackMix brassMix;
    brassMix.gain = 0.55;
    brassMix.pan = -0.1;
    brassMix.reverbSend = 0.35;
    brassMix.humanise = 0.0;
    Track& brass = piece.addTrack("brass", Instrument::Brass, brassMix);
    melody(brass, 2.0, "C4+E4+G4+C5:2.5", 0.85);

    TrackMix pianoMix = brassMix;
    pianoMix.gain = 0.45;
    pianoMix.pan = 0.2;
    Track& piano = piece.addTrack("piano", Instrument::ElectricPiano, pianoMix);
    melody(piano, 2.0, "E4+B4+D5+G5:3", 0.7);

    TrackMix bassMix;
    bassMix.gain = 0.6;
    bassMix.reverbSend = 0.05;
    bassMix.humanise = 0.0;
    Track& bass = piece.addTrack("bass", Instrument::RoundBass, bassMix);
    melody(bass, 2.0, "C2:3", 0.9);

    TrackMix drumMix;
    drumMix.gain = 0.5;
    drumMix.reverbSend = 0.25;
    drumMix.humanise = 0.0;
    Track& drums = piece.addDrums("drums", drumMix);
    for (int k = 0; k < 4; ++k) {
        drums.add(1.0 + k * 0.25, 0.2, Drum::snare, 0.25 + 0.12 * k);
    }
    drums.add(2.0, 0.5, Drum::kick, 1.0);
    drums.add(2.0, 0.5, Drum::crash, 0.55);
    return piece;
}

}  // namespace soundgen
