#include "Composer.hpp"
#include "PieceSetup.hpp"
#include "Pieces.hpp"

namespace soundgen {

namespace {

constexpr const char* verseChords = "G:4 Em:4 C:4 D:4";
constexpr const char* chorusChords = "C:4 D:4 Bm:4 Em:4 C:4 D:4 G:4 D:4";
constexpr const char* breakChords = "Em:4 C:4 G:4 D:4";

constexpr const char* verseTune =
    "B4:1/2 D5:1/2 G5:1/2 F#5:1/2 G5:1 D5:1 "
    "E5:1/2 G5:1/2 B5:1 A5:1/2 G5:1/2 E5:1 "
    "C5:1/2 E5:1/2 G5:1/2 E5:1/2 A5:1 G5:1 "
    "F#5:1 E5:1/2 D5:1/2 A4:2 "
    "B4:1/2 D5:1/2 G5:1/2 F#5:1/2 G5:1 B5:1 "
    "A5:1/2 G5:1/2 E5:1/2 G5:1/2 B5:3/2 A5:1/2 "
    "G5:1/2 E5:1/2 C5:1/2 E5:1/2 D5:1 C5:1 "
    "D5:1 F#5:1 A5:2";

constexpr const char* chorusTune =
    "E5:1/2 G5:1/2 C6:3/2 B5:1/2 A5:1 "
    "F#5:1/2 A5:1/2 D6:3/2 C6:1/2 A5:1 "
    "B5:3/2 A5:1/2 F#5:1 D5:1 "
    "E5:1/2 F#5:1/2 G5:1 B5:2 "
    "C6:3/2 B5:1/2 A5:1 G5:1 "
    "A5:3/2 G5:1/2 F#5:1 D5:1 "
    "G5:1/2 A5:1/2 B5:1 D6:1 B5:1 "
    "A5:2 r:1 D5:1/2 E5:1/2";

constexpr const char* breakTune = "B5:2 A5:1 G5:1 E5:4 D5:2 E5:1 G5:1 F#5:4";

}  // namespace

// Bright and bouncy: 120 beats per minute in G major, four-on-the-floor,
// octave disco bass, plucked off-beat chords and a singing synth lead.
// Intro 4 bars, verse 8, chorus 8, break 4, verse 8, chorus 8 (40 bars, 80 s).
Piece composeSongOne() {
    Piece piece = loopingPiece(120, 40, 0x5EED03);
    setRoom(piece, 0.7, 0.45, 0.8);
    piece.targetRmsDb = -15.0;

    const auto intro = progression(verseChords, 0.0);
    const auto verse1 = repeated(verseChords, 16.0, 2);
    const auto chorus1 = progression(chorusChords, 48.0);
    const auto breakdown = progression(breakChords, 80.0);
    const auto verse2 = repeated(verseChords, 96.0, 2);
    const auto chorus2 = progression(chorusChords, 128.0);

    Track& bass = piece.addTrack("bass", Instrument::SynthBass, trackMix(0.55, 0.0, 0.03));
    bassLine(bass, intro, "R..R..R.R..R..8.", 31, 0.7);
    bassLine(bass, verse1, "R..R..R.R..R..8.", 31, 0.8);
    bassLine(bass, chorus1, "R.8.R.8.R.8.R.8.", 31, 0.85);
    bassLine(bass, breakdown, "R---------------", 31, 0.6);
    bassLine(bass, verse2, "R..R..R.R..R.58.", 31, 0.8);
    bassLine(bass, chorus2, "R.8.R.8.R.8.R.8.", 31, 0.85);

    TrackMix guitarMix = trackMix(0.8, 0.35, 0.2);
    guitarMix.chorus = ChorusSettings{0.7, 0.01, 0.002, 0.3};
    Track& guitar = piece.addTrack("guitar", Instrument::Pluck, guitarMix);
    compChords(guitar, verse1, "..x...x...x...x.", 55, 74, 3, 0.75);
    compChords(guitar, chorus1, "..x...x...x..xx.", 55, 74, 3, 0.8);
    compChords(guitar, verse2, "..x...x...x...x.", 55, 74, 3, 0.75);
    compChords(guitar, chorus2, "..x...x...x..xx.", 55, 74, 3, 0.8);

    TrackMix padMix = trackMix(0.3, -0.1, 0.4);
    padMix.chorus = ChorusSettings{0.4, 0.014, 0.004, 0.5};
    Track& pad = piece.addTrack("pad", Instrument::Pad, padMix);
    holdChords(pad, chorus1, 55, 76, 4, 0.6);
    holdChords(pad, breakdown, 55, 76, 4, 0.55);
    holdChords(pad, chorus2, 55, 76, 4, 0.6);

    TrackMix arpMix = trackMix(0.22, -0.35, 0.3);
    arpMix.echo = EchoSettings{0.375, 0.35, 0.3, 3500.0};
    Track& arp = piece.addTrack("arp", Instrument::Bell, arpMix);
    arpeggio(arp, intro, "0121312101213121", 67, 84, 3, 0.55);
    arpeggio(arp, breakdown, "0121312101213121", 67, 84, 3, 0.5);
    arpeggio(arp, verse2, "0.1.2.1.0.1.2.3.", 67, 84, 3, 0.4);

    TrackMix leadMix = trackMix(0.5, 0.05, 0.25);
    leadMix.echo = EchoSettings{0.375, 0.3, 0.2, 3000.0};
    Track& lead = piece.addTrack("lead", Instrument::Lead, leadMix);
    melody(lead, 16.0, verseTune, 0.75);
    melody(lead, 48.0, chorusTune, 0.85);
    melody(lead, 80.0, breakTune, 0.6);
    melody(lead, 96.0, verseTune, 0.75);
    melody(lead, 128.0, chorusTune, 0.9);

    Track& bells = piece.addTrack("bells", Instrument::Bell, trackMix(0.2, 0.3, 0.4));
    melody(bells, 128.0, chorusTune, 0.55, 12.0);

    TrackMix drumMix = trackMix(0.5, 0.0, 0.12);
    drumMix.humanise = 0.002;
    Track& drums = piece.addDrums("drums", drumMix);
    // Intro: kick and hats, a fill into the verse.
    drumLoop(drums, 0, 4, "X...x...X...x...", Drum::kick);
    drumLoop(drums, 0, 4, "..x...x...x...x.", Drum::closedHat);
    drumPattern(drums, 12.0, "x.x.x.x.xxxxXXXX", Drum::snare);
    // Verses and choruses.
    for (int start : {4, 24}) {
        drumLoop(drums, start, 8, "X...X...X...X...", Drum::kick);
        drumLoop(drums, start, 8, "....X.......X...", Drum::clap);
        drumLoop(drums, start, 8, "x.xox.xox.xox.xo", Drum::closedHat);
    }
    for (int start : {12, 32}) {
        drumLoop(drums, start, 8, "X...X...X...X...", Drum::kick);
        drumLoop(drums, start, 8, "....X.......X...", Drum::clap);
        drumLoop(drums, start, 8, "....X.......X...", Drum::snare);
        drumLoop(drums, start, 8, "..x...x...x...x.", Drum::openHat);
        drumLoop(drums, start, 8, "x.o.x.o.x.o.x.oo", Drum::shaker);
        drums.add(start * 4.0, 1.0, Drum::crash, 0.7);
    }
    drums.add(16.0, 1.0, Drum::crash, 0.6);
    drums.add(96.0, 1.0, Drum::crash, 0.6);
    // Fills at the end of sections.
    for (int bar : {11, 31}) {
        drumPattern(drums, bar * 4.0 + 3.0, "xxXX", Drum::snare);
    }
    drumPattern(drums, 19 * 4.0 + 2.0, "x.x.XxXx", Drum::midTom);
    drumPattern(drums, 39 * 4.0 + 2.0, "x.x.XxXx", Drum::midTom);
    // Breakdown: no kick, a clap on four, a roll building back up.
    drumLoop(drums, 20, 3, "............X...", Drum::clap);
    drumLoop(drums, 20, 4, "x.x.x.x.x.x.x.x.", Drum::closedHat);
    drumPattern(drums, 23 * 4.0, "o.o.x.x.xxxxXXXX", Drum::snare);
    return piece;
}

}  // namespace soundgen
