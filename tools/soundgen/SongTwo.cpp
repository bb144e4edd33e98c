#include "Composer.hpp"
#include "PieceSetup.hpp"
#include "Pieces.hpp"

namespace soundgen {

namespace {

constexpr const char* vampChords = "Dm9:4 G13:4 Dm9:4 A7b9:4";
constexpr const char* verseChords = "Dm9:4 G13:4 Dm9:4 G13:4 Bbmaj7:4 A7:4 Dm9:4 A7b9:4";
constexpr const char* hornChords = "Gm7:4 C9:4 Fmaj7:4 Bbmaj7:4 Em7b5:4 A7:4 Dm9:4 A7:4";
constexpr const char* bridgeChords = "Bbmaj7:4 C9:4 Am7:4 Dm9:4 Gm7:4 C9:4 Fmaj7:4 A7b9:4";

constexpr const char* marimbaTune =
    "A5:1/2 C6:1/2 A5:1/4 G5:1/4 F5:1/2 D5:1 r:1 "
    "B4:1/2 D5:1/2 E5:1/2 F5:1/4 E5:1/4 D5:2 "
    "A5:1/2 C6:1/2 D6:1/2 C6:1/4 A5:1/4 G5:1/2 A5:1/2 r:1 "
    "F5:1/2 E5:1/2 D5:1/2 B4:1/2 D5:2 "
    "D5:1/2 F5:1/2 A5:1 G5:1/2 F5:1/2 D5:1 "
    "C#5:1/2 E5:1/2 G5:1 F5:1/2 E5:1/2 C#5:1 "
    "D5:1/2 E5:1/2 F5:1/2 A5:1/2 C6:1 A5:1 "
    "Bb5:1/2 A5:1/2 G5:1/2 E5:1/2 C#5:1 E5:1";

constexpr const char* hornTune =
    "D5:1/2' D5:1/2' r:1/2 F5:1/2 G5:1 r:1 "
    "E5:1/2 G5:1/2 Bb5:1/2 A5:1/2 G5:1 r:1 "
    "A5:1/2' A5:1/2' r:1/2 C6:1/2 A5:1 r:1 "
    "F5:1/2 G5:1/2 A5:1/2 F5:1/2 D5:2 "
    "G5:1/2 Bb5:1/2 r:1/2 G5:1/2 E5:1 r:1 "
    "C#5:1/2 E5:1/2 G5:1/2 Bb5:1/2 A5:2 "
    "F5:1/2 E5:1/2 D5:1/2 C5:1/2 D5:1 A4:1 "
    "C#5:1 E5:1 G5:1 A5:1/2 Bb5:1/2";

// The marimba answers the horns in their rests.
constexpr const char* answerTune =
    "r:2 A5:1/4 G5:1/4 F5:1/4 D5:1/4 r:1 "
    "r:3 C6:1/4 Bb5:1/4 A5:1/2 "
    "r:2 C6:1/4 A5:1/4 G5:1/4 F5:1/4 r:1 "
    "r:4 "
    "r:2 D6:1/4 Bb5:1/4 G5:1/4 E5:1/4 r:1 "
    "r:4 "
    "r:4 "
    "r:4";

constexpr const char* bridgeTune =
    "F5:1 D5:1/2 F5:1/2 A5:1 G5:1 "
    "E5:1 G5:1/2 Bb5:1/2 D6:1 C6:1 "
    "C6:3/2 A5:1/2 G5:1 E5:1 "
    "F5:1 E5:1/2 D5:1/2 C5:1 A4:1 "
    "Bb4:1 D5:1/2 F5:1/2 A5:1 G5:1 "
    "Bb5:1 G5:1/2 E5:1/2 D5:1 C5:1 "
    "A5:3/2 G5:1/2 F5:1 E5:1 "
    "C#5:1 E5:1 G5:1 Bb5:1";

constexpr const char* outroTune =
    "r:2 A5:1/2 C6:1/2 D6:1 "
    "r:2 B5:1/2 A5:1/2 F5:1 "
    "r:2 A5:1/2 C6:1/2 D6:1 "
    "E6:1/2 C#6:1/2 Bb5:1/2 G5:1/2 E5:1 r:1";

}  // namespace

// A sunny latin-funk groove: 108 beats per minute, D dorian, a light shuffle,
// slap bass, piano stabs, congas and cowbell; the marimba sings the verses, a
// brass section the middle, a plucked guitar the bridge.
// Intro 4, verse 8, horns 8, verse 8, bridge 8, outro 4 (40 bars, 89 s).
Piece composeSongTwo() {
    Piece piece = loopingPiece(108, 40, 0x5EED04);
    piece.swing = 0.14;
    setRoom(piece, 0.65, 0.5, 0.8);
    piece.targetRmsDb = -15.5;

    // Verse and horn sections follow each other, so one list keeps the bass's
    // approach notes leading into the right chord.
    std::vector<ChordSpan> song = progression(vampChords, 0.0);
    const auto verse1 = progression(verseChords, 16.0);
    const auto horns = progression(hornChords, 48.0);
    const auto verse2 = progression(verseChords, 80.0);
    const auto bridge = progression(bridgeChords, 112.0);
    const auto outro = progression(vampChords, 144.0);
    for (const auto* part : {&verse1, &horns, &verse2, &bridge, &outro}) {
        song.insert(song.end(), part->begin(), part->end());
    }

    Track& bass = piece.addTrack("bass", Instrument::FmBass, trackMix(0.7, 0.0, 0.03));
    bassLine(bass, song, "R..R..8.r.5.R.7.", 26, 0.85);

    TrackMix pianoMix = trackMix(0.32, -0.25, 0.2);
    pianoMix.chorus = ChorusSettings{0.6, 0.011, 0.002, 0.35};
    Track& piano = piece.addTrack("piano", Instrument::ElectricPiano, pianoMix);
    compChords(piano, song, "..x..x....x..x..", 55, 74, 4, 0.7);

    Track& marimba = piece.addTrack("marimba", Instrument::Marimba, trackMix(0.6, 0.2, 0.3));
    melody(marimba, 16.0, marimbaTune, 0.85);
    melody(marimba, 48.0, answerTune, 0.6);
    melody(marimba, 80.0, marimbaTune, 0.85);
    melody(marimba, 144.0, outroTune, 0.7);

    Track& bells = piece.addTrack("bells", Instrument::Bell, trackMix(0.14, -0.3, 0.4));
    melody(bells, 80.0, marimbaTune, 0.5, 12.0);

    Track& hornLead = piece.addTrack("horn lead", Instrument::Brass, trackMix(0.9, 0.1, 0.3));
    melody(hornLead, 48.0, hornTune, 0.9);
    Track& hornSection =
        piece.addTrack("horn section", Instrument::Brass, trackMix(0.5, -0.2, 0.3));
    compChords(hornSection, horns, "X-..............", 58, 72, 3, 0.7);
    compChords(hornSection, verse2, "X-..........x...", 58, 72, 3, 0.55);

    TrackMix guitarMix = trackMix(1.3, 0.15, 0.3);
    guitarMix.echo = EchoSettings{60.0 / 108.0 * 0.75, 0.3, 0.22, 3000.0};
    Track& guitar = piece.addTrack("guitar", Instrument::Pluck, guitarMix);
    melody(guitar, 112.0, bridgeTune, 0.85);

    TrackMix padMix = trackMix(0.3, 0.0, 0.45);
    padMix.chorus = ChorusSettings{0.35, 0.014, 0.004, 0.5};
    Track& pad = piece.addTrack("pad", Instrument::Pad, padMix);
    holdChords(pad, bridge, 57, 74, 3, 0.55);

    TrackMix drumMix = trackMix(0.55, 0.0, 0.12);
    drumMix.humanise = 0.003;
    Track& drums = piece.addDrums("drums", drumMix);
    drumLoop(drums, 0, 4, "x.o.x.o.x.o.x.o.", Drum::closedHat);
    drumLoop(drums, 0, 4, "..x.o..x..x.o.x.", Drum::conga);
    drumLoop(drums, 2, 2, "X..x....X.x.....", Drum::kick);
    drumPattern(drums, 3 * 4.0 + 2.0, "x.x.XxXx", Drum::highTom);
    drumLoop(drums, 4, 32, "X..x....X.x.....", Drum::kick);
    drumLoop(drums, 4, 32, "....X..o....X..o", Drum::snare);
    drumLoop(drums, 4, 32, "xoxoxoxoxoxoxoxo", Drum::closedHat);
    drumLoop(drums, 4, 32, "..x.o..x..x.o.x.", Drum::conga);
    drumLoop(drums, 12, 8, "x...x...x.x.x...", Drum::cowbell);
    drumLoop(drums, 28, 8, "x.o.x.o.x.o.x.oo", Drum::shaker);
    drumLoop(drums, 36, 4, "X..x....X.x.....", Drum::kick);
    drumLoop(drums, 36, 4, "....X.......X...", Drum::rim);
    drumLoop(drums, 36, 4, "x.o.x.o.x.o.x.o.", Drum::closedHat);
    drumLoop(drums, 36, 4, "..x.o..x..x.o.x.", Drum::conga);
    for (int bar : {4, 12, 20, 28}) {
        drums.add(bar * 4.0, 1.0, Drum::crash, 0.6);
    }
    for (int bar : {11, 19, 27, 35}) {
        drumPattern(drums, bar * 4.0 + 3.0, "xxXX", Drum::snare);
    }
    drumPattern(drums, 39 * 4.0 + 2.0, "x.x.XxXx", Drum::midTom);
    return piece;
}

}  // namespace soundgen
