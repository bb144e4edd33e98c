#include "Composer.hpp"
#include "PieceSetup.hpp"
#include "Pieces.hpp"

namespace soundgen {

// The logo's signature: a shimmering pad swells, a mallet runs up to a bright
// chord hit, and a little sparkle answers while the logo finishes fading in.
// 120 beats per minute, so one beat is half a second.
Piece composeLogoJingle() {
    Piece piece = oneShotPiece(120, 4.6, 0x5EED01);
    setRoom(piece, 0.85, 0.35, 1.0);
    piece.targetRmsDb = -16.0;

    TrackMix padMix = trackMix(0.35, 0.0, 0.5);
    padMix.chorus = ChorusSettings{};
    Track& pad = piece.addTrack("pad", Instrument::Pad, padMix);
    melody(pad, 0.0, "C4+G4+D5+E5:5.5", 0.6);

    Track& mallet = piece.addTrack("mallet", Instrument::Marimba, tightMix(0.7, 0.15, 0.4));
    melody(mallet, 0.5, "C5:1/2 G5:1/2 E5:1/4 A5:1/4 B5:1/4 r:1/4 C6:2!", 0.85);
    melody(mallet, 3.0, "E6:1/4 G6:1/4 C7:1", 0.55);

    Track& bell = piece.addTrack("bell", Instrument::Bell, tightMix(0.3, -0.25, 0.6));
    melody(bell, 2.0, "C6+G6:3", 0.8);
    melody(bell, 3.0, "E7:1/4 G7:1", 0.4);

    Track& brass = piece.addTrack("brass", Instrument::Brass, tightMix(0.55, -0.1, 0.35));
    melody(brass, 2.0, "C4+E4+G4+C5:2.5", 0.85);

    Track& piano = piece.addTrack("piano", Instrument::ElectricPiano, tightMix(0.45, 0.2, 0.35));
    melody(piano, 2.0, "E4+B4+D5+G5:3", 0.7);

    Track& bass = piece.addTrack("bass", Instrument::RoundBass, tightMix(0.6, 0.0, 0.05));
    melody(bass, 2.0, "C2:3", 0.9);

    Track& drums = piece.addDrums("drums", tightMix(0.5, 0.0, 0.25));
    for (int k = 0; k < 4; ++k) {
        drums.add(1.0 + k * 0.25, 0.2, Drum::snare, 0.25 + 0.12 * k);
    }
    drums.add(2.0, 0.5, Drum::kick, 1.0);
    drums.add(2.0, 0.5, Drum::crash, 0.55);
    return piece;
}

}  // namespace soundgen
