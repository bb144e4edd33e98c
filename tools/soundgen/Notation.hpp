#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Arrangement.hpp"

namespace soundgen {

// MIDI number of a note name such as "C4" (60), "F#3" or "Bb2".
int noteNumber(std::string_view name);

// Writes a melody into `track` from `startBeat` and returns the beat after it.
// Tokens are separated by spaces: "E5:1" (note and beats), "r:0.5" (rest),
// "C5+E5:2" (several notes at once), durations also as fractions ("1/3").
// A trailing "!" accents the note, "'" plays it short, "~" holds it to the
// next note.
double melody(Track& track, double startBeat, std::string_view text, double velocity = 0.8,
              double transpose = 0.0);

struct Chord {
    int root = 0;                // pitch class 0..11
    int bass = 0;                // pitch class of the lowest note (slash chords)
    std::vector<int> intervals;  // semitones above the root, root first
};

// "Fmaj7", "Am7", "C7sus4", "D/F#", "G13", "Dm9", "A7b9", "Bm7b5", "Eb", ...
Chord parseChord(std::string_view symbol);

// A chord change: symbol and length in beats.
struct ChordSpan {
    Chord chord;
    double beat = 0.0;
    double beats = 4.0;
};
// "Fmaj7:4 Am7:2 C7:2" from `startBeat`.
std::vector<ChordSpan> progression(std::string_view text, double startBeat);

// `count` chord notes between `low` and `high` (MIDI), close to `previous` so
// the voices move as little as possible from chord to chord.
std::vector<int> voiceChord(const Chord& chord, int low, int high, int count,
                            const std::vector<int>& previous);

// The bass note of a chord in the octave starting at `lowest`.
int bassNote(const Chord& chord, int lowest);

// Step patterns, one character per step of `stepBeats` (spaces and '|' are
// only for reading): '.' is a rest and '-' holds the previous note longer.
// Drums: 'X' accent, 'x' normal, 'o' ghost.
void drumPattern(Track& track, double startBeat, std::string_view steps, int drum,
                 double stepBeats = 0.25);
// Bass over a chord: 'R' root, 'r' soft root, '5' fifth, '8' octave, '3' third,
// '7' seventh, 'A' approach (a semitone below `nextChord`'s bass).
void bassPattern(Track& track, double startBeat, std::string_view steps, const Chord& chord,
                 const Chord& nextChord, int lowest, double velocity, double stepBeats = 0.25);
// Chord hits: 'X' accent, 'x' normal, each sounding all of `voicing`.
void chordPattern(Track& track, double startBeat, std::string_view steps,
                  const std::vector<int>& voicing, double velocity, double stepBeats = 0.25);
// Broken chords: digits index the voicing from the bottom, wrapping an octave up.
void arpPattern(Track& track, double startBeat, std::string_view steps,
                const std::vector<int>& voicing, double velocity, double stepBeats = 0.25);

}  // namespace soundgen
