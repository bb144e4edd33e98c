#include "Composer.hpp"
#include "PieceSetup.hpp"
#include "Pieces.hpp"

namespace soundgen {

namespace {

constexpr const char* verseChords = "Em:4 C:4 G:4 D:4 Em:4 C:4 Am:4 B7:4";
constexpr const char* chorusChords = "C:4 D:4 Em:4 Em:4 C:4 D:4 B7:4 B7:4";
constexpr const char* breakChords = "Am:4 Em:4 C:4 B7:4";

constexpr const char* verseTune =
    "E5:1/2 G5:1/2 B5:1 A5:1/2 G5:1/2 E5:1 "
    "E5:1/2 G5:1/2 C6:1 B5:1/2 A5:1/2 G5:1 "
    "D5:1/2 G5:1/2 B5:1 A5:1/2 G5:1/2 D5:1 "
    "F#5:1/2 A5:1/2 D6:1 C6:1/2 A5:1/2 F#5:1 "
    "G5:1 F#5:1/2 E5:1/2 B4:1 E5:1 "
    "G5:1 F#5:1/2 E5:1/2 C5:1 E5:1 "
    "A5:1 G5:1/2 F#5:1/2 E5:1 C6:1 "
    "B5:3/2 A5:1/2 F#5:1 D#5:1";

constexpr const char* chorusTune =
    "G5:2 E5:1 G5:1 "
    "A5:3/2 B5:1/2 A5:1 F#5:1 "
    "G5:1/2 A5:1/2 B5:1 E6:2 "
    "D6:1 B5:1 G5:1 E5:1 "
    "E5:1/2 G5:1/2 C6:2 B5:1 "
    "A5:1/2 B5:1/2 D6:2 C6:1 "
    "B5:2 A5:1 F#5:1 "
    "D#5:2 F#5:1 A5:1";

constexpr const char* breakTune = "C6:4 B5:4 G5:4 F#5:2 D#5:2 E5:4 G5:4 A5:2 C6:2 B5:4";

}  // namespace

// A driving chase in E minor at 140 beats per minute: pulsing eighth-note
// bass, rippling plucked arpeggios, a saw lead and a wide pad in the chorus.
// Intro 8, verse 16, chorus 16, half-time break 8, outro 8 (56 bars, 96 s).
Piece composeSongThree() {
    Piece piece = loopingPiece(140, 56, 0x5EED05);
    setRoom(piece, 0.75, 0.4, 0.8);
    piece.targetRmsDb = -15.0;

    const auto intro = progression(verseChords, 0.0);
    const auto verse = repeated(verseChords, 32.0, 2);
    const auto chorus = repeated(chorusChords, 96.0, 2);
    const auto breakdown = repeated(breakChords, 160.0, 2);
    const auto outro = progression(verseChords, 192.0);

    Track& bass = piece.addTrack("bass", Instrument::SynthBass, trackMix(0.6, 0.0, 0.03));
    // Long soft roots either side of the seam keep the floor under the loop;
    // the pulse starts in the fifth bar.
    bassLine(bass, progression("Em:4 C:4 G:4 D:4", 0.0), "R-------R-------", 28, 0.6);
    bassLine(bass, progression("Em:4 C:4 Am:4 B7:4", 16.0), "R.R.R.R.R.R.R.R.", 28, 0.7);
    bassLine(bass, verse, "R.R.8.R.R.R.8.R.", 28, 0.85);
    bassLine(bass, chorus, "R.R.8.R.R.R.8.5.", 28, 0.9);
    bassLine(bass, breakdown, "R-------R---5---", 28, 0.7);
    bassLine(bass, progression("Em:4 C:4 G:4 D:4 Em:4 C:4", 192.0), "R.R.R.R.R.R.R.R.", 28, 0.75);
    bassLine(bass, progression("Am:4 B7:4", 216.0), "R-------R-------", 28, 0.65);

    TrackMix arpMix = trackMix(0.7, -0.3, 0.25);
    arpMix.echo = EchoSettings{60.0 / 140.0 * 0.75, 0.35, 0.3, 3500.0};
    Track& arp = piece.addTrack("arp", Instrument::Pluck, arpMix);
    arpeggio(arp, intro, "0120120120120121", 59, 76, 3, 0.7);
    arpeggio(arp, verse, "0120120120120121", 59, 76, 3, 0.6);
    arpeggio(arp, breakdown, "0.1.2.3.4.3.2.1.", 59, 76, 3, 0.55);
    arpeggio(arp, outro, "0120120120120121", 59, 76, 3, 0.7);

    TrackMix padMix = trackMix(0.3, 0.0, 0.4);
    padMix.chorus = ChorusSettings{0.45, 0.013, 0.004, 0.5};
    Track& pad = piece.addTrack("pad", Instrument::Pad, padMix);
    holdChords(pad, progression(verseChords, 0.0), 52, 71, 3, 0.45);
    holdChords(pad, chorus, 55, 76, 4, 0.65);
    holdChords(pad, breakdown, 55, 76, 4, 0.55);
    holdChords(pad, progression("Am:4 B7:4", 216.0), 52, 71, 3, 0.45);

    TrackMix stabMix = trackMix(0.35, 0.3, 0.2);
    Track& stabs = piece.addTrack("stabs", Instrument::Brass, stabMix);
    compChords(stabs, chorus, "X-....x...x-....", 55, 71, 3, 0.7);

    TrackMix leadMix = trackMix(0.45, 0.05, 0.25);
    leadMix.echo = EchoSettings{60.0 / 140.0 * 0.75, 0.3, 0.22, 3000.0};
    Track& lead = piece.addTrack("lead", Instrument::Lead, leadMix);
    melody(lead, 32.0, verseTune, 0.75);
    melody(lead, 64.0, verseTune, 0.8);
    melody(lead, 96.0, chorusTune, 0.85);
    melody(lead, 128.0, chorusTune, 0.9);

    Track& bells = piece.addTrack("bells", Instrument::Bell, trackMix(0.18, -0.25, 0.45));
    melody(bells, 64.0, verseTune, 0.45, 12.0);
    melody(bells, 160.0, breakTune, 0.6);

    Track& brassDouble = piece.addTrack("brass", Instrument::Brass, trackMix(0.3, -0.15, 0.3));
    melody(brassDouble, 128.0, chorusTune, 0.8, -12.0);

    TrackMix drumMix = trackMix(0.6, 0.0, 0.1);
    drumMix.humanise = 0.002;
    Track& drums = piece.addDrums("drums", drumMix);
    // Intro: hats only, then kick and hats join.
    drumLoop(drums, 0, 8, "..x...x...x...x.", Drum::closedHat);
    drumLoop(drums, 4, 4, "X...X...X...X...", Drum::kick);
    drumPattern(drums, 7 * 4.0, "x.x.x.x.xxxxXXXX", Drum::snare);
    // Verse and chorus: a driving rock beat.
    drumLoop(drums, 8, 32, "X.....x.X.x.....", Drum::kick);
    drumLoop(drums, 8, 32, "....X.......X...", Drum::snare);
    drumLoop(drums, 8, 16, "x.x.x.x.x.x.x.x.", Drum::closedHat);
    drumLoop(drums, 24, 16, "X.x.x.x.X.x.x.x.", Drum::ride);
    drumLoop(drums, 24, 16, "..o...o...o...o.", Drum::openHat);
    for (int bar : {8, 24, 32, 40, 48}) {
        drums.add(bar * 4.0, 1.0, Drum::crash, 0.7);
    }
    for (int bar : {15, 23, 31}) {
        drumPattern(drums, bar * 4.0 + 2.0, "x.x.XxXx", Drum::highTom);
    }
    drumPattern(drums, 39 * 4.0, "x.x.x.x.xxXXxxXX", Drum::midTom);
    // Break: half time.
    drumLoop(drums, 40, 8, "X...............", Drum::kick);
    drumLoop(drums, 40, 8, "........X.......", Drum::snare);
    drumLoop(drums, 40, 8, "x...x...x...x...", Drum::closedHat);
    // Outro: four on the floor, then the drums step back so the arpeggio
    // leads into the intro again.
    drumLoop(drums, 48, 6, "X...X...X...X...", Drum::kick);
    drumLoop(drums, 48, 6, "....X.......X...", Drum::clap);
    drumLoop(drums, 48, 6, "..x...x...x...x.", Drum::openHat);
    drumLoop(drums, 54, 2, "..x...x...x...x.", Drum::closedHat);
    drumPattern(drums, 55 * 4.0 + 3.0, "o.x.", Drum::highTom);
    return piece;
}

}  // namespace soundgen
