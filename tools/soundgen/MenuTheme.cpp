#include "Composer.hpp"
#include "PieceSetup.hpp"
#include "Pieces.hpp"

namespace soundgen {

namespace {

constexpr const char* chords =
    "Fmaj7:4 Am7:4 Bbmaj7:4 C7sus4:2 C7:2 Dm7:4 Gm7:4 Bbmaj7:4 C7sus4:2 C7:2";

// Section A: the theme on marimba, plain and lyrical.
constexpr const char* themeA =
    "C5:3/2 A4:1/2 C5:1 E5:1 "
    "E5:3/2 D5:1/2 C5:1 A4:1 "
    "D5:3/2 C5:1/2 D5:1 F5:1 "
    "G5:2 F5:1 E5:1 "
    "F5:3/2 E5:1/2 D5:1 A4:1 "
    "Bb4:3/2 A4:1/2 G4:1 D5:1 "
    "D5:3/2 C5:1/2 Bb4:1 A4:1 "
    "C5:2 Bb4:1 G4:1";

// Section B: the flute takes the theme higher and lets it flow.
constexpr const char* themeB =
    "C6:3/2 A5:1/2 G5:1/2 A5:1/2 F5:1 "
    "E5:3/2 G5:1/2 A5:1 C6:1 "
    "D6:3/2 C6:1/2 A5:1/2 F5:1/2 D5:1 "
    "F5:1 G5:1 E5:2 "
    "A5:3/2 F5:1/2 D5:1/2 F5:1/2 A5:1 "
    "Bb5:3/2 A5:1/2 G5:1 F5:1 "
    "D5:1 F5:1 A5:1 G5:1/2 F5:1/2 "
    "G5:2 E5:2";

// Section C: only echoes of the theme over broken chords.
constexpr const char* themeC =
    "r:2 C6:1/2 A5:1/2 F5:1 "
    "r:2 E5:1/2 G5:1/2 C6:1 "
    "r:2 D6:1/2 C6:1/2 A5:1 "
    "G5:3 r:1 "
    "r:2 F5:1/2 A5:1/2 C6:1 "
    "r:2 Bb5:1/2 A5:1/2 G5:1 "
    "F5:2 D5:1 F5:1 "
    "G5:2 E5:1 r:1";

}  // namespace

// A calm loop for the menus: 84 beats per minute in F major, three sections of
// eight bars over the same progression; the last bar leads back to the first.
Piece composeMenuTheme() {
    Piece piece = loopingPiece(84, 24, 0x5EED02);
    piece.swing = 0.08;
    setRoom(piece, 0.85, 0.45, 1.0);
    piece.targetRmsDb = -18.0;

    const auto sectionA = progression(chords, 0.0);
    const auto sectionB = progression(chords, 32.0);
    const auto sectionC = progression(chords, 64.0);

    TrackMix pianoMix = trackMix(0.35, -0.15, 0.3);
    pianoMix.chorus = ChorusSettings{0.4, 0.012, 0.0025, 0.4};
    Track& piano = piece.addTrack("piano", Instrument::ElectricPiano, pianoMix);
    compChords(piano, sectionA, "X-------x-------", 53, 72, 4, 0.55);
    compChords(piano, sectionB, "X-----x-----x---", 53, 72, 4, 0.5);
    compChords(piano, sectionC, "X---------------", 53, 72, 4, 0.45);

    TrackMix padMix = trackMix(0.3, 0.0, 0.45);
    padMix.chorus = ChorusSettings{0.3, 0.015, 0.004, 0.5};
    Track& pad = piece.addTrack("pad", Instrument::Pad, padMix);
    holdChords(pad, sectionB, 57, 76, 3, 0.5);
    holdChords(pad, sectionC, 57, 76, 3, 0.45);

    Track& bass = piece.addTrack("bass", Instrument::RoundBass, trackMix(0.5, 0.0, 0.05));
    bassLine(bass, sectionA, "R-------5-------", 29, 0.7);
    bassLine(bass, sectionB, "R-----R-5-----A-", 29, 0.75);
    bassLine(bass, sectionC, "R-----------5---", 29, 0.65);

    Track& marimba = piece.addTrack("marimba", Instrument::Marimba, trackMix(0.6, 0.25, 0.35));
    melody(marimba, 0.0, themeA, 0.6);
    melody(marimba, 64.0, themeC, 0.55);

    TrackMix fluteMix = trackMix(0.5, 0.1, 0.35);
    fluteMix.echo = EchoSettings{60.0 / 84.0 * 0.75, 0.3, 0.18, 3000.0};
    Track& flute = piece.addTrack("flute", Instrument::SoftLead, fluteMix);
    melody(flute, 32.0, themeB, 0.7);

    TrackMix harpMix = trackMix(1.2, -0.3, 0.4);
    harpMix.echo = EchoSettings{60.0 / 84.0 * 0.5, 0.25, 0.2, 2500.0};
    Track& harp = piece.addTrack("harp", Instrument::Pluck, harpMix);
    arpeggio(harp, sectionC, "0.1.2.3.4.3.2.1.", 53, 70, 3, 0.5);

    TrackMix drumMix = trackMix(0.45, 0.0, 0.15);
    drumMix.humanise = 0.003;
    Track& drums = piece.addDrums("drums", drumMix);
    drumLoop(drums, 0, 8, "X.........x.....", Drum::kick);
    drumLoop(drums, 0, 8, "o.o.x.o.o.o.x.o.", Drum::shaker);
    drumLoop(drums, 8, 8, "X......x..x.....", Drum::kick);
    drumLoop(drums, 8, 8, "....x.......x...", Drum::rim);
    drumLoop(drums, 8, 8, "x.o.x.oox.o.x.oo", Drum::shaker);
    drumLoop(drums, 16, 4, "o...x...o...x...", Drum::shaker);
    drumLoop(drums, 20, 4, "X.........x.....", Drum::kick);
    drumLoop(drums, 20, 4, "o.o.x.o.o.o.x.o.", Drum::shaker);
    drumLoop(drums, 23, 1, "............o.x.", Drum::conga);
    return piece;
}

}  // namespace soundgen
