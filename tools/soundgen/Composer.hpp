#pragma once

#include <string_view>
#include <vector>

#include "Arrangement.hpp"
#include "Notation.hpp"

namespace soundgen {

// Parts laid over a chord progression. Patterns are one bar of sixteenths
// (16 steps, see Notation.hpp) and repeat for as long as the progression
// runs; a chord shorter than a bar takes its slice of the pattern.

// Chords in the rhythm of `pattern`, `count` voices in [low, high], each
// chord led smoothly from the one before.
void compChords(Track& track, const std::vector<ChordSpan>& spans, std::string_view pattern,
                int low, int high, int count, double velocity);
// Held chords, one per chord change.
void holdChords(Track& track, const std::vector<ChordSpan>& spans, int low, int high, int count,
                double velocity);
// A bass line from a pattern of chord degrees (see bassPattern).
void bassLine(Track& track, const std::vector<ChordSpan>& spans, std::string_view pattern,
              int lowest, double velocity);
// Broken chords from a pattern of voicing indices (see arpPattern).
void arpeggio(Track& track, const std::vector<ChordSpan>& spans, std::string_view pattern, int low,
              int high, int count, double velocity);
// One bar of a drum pattern, repeated for `bars` bars from `startBar`.
void drumLoop(Track& track, int startBar, int bars, std::string_view pattern, int drum);

// The same progression played `times` times in a row.
std::vector<ChordSpan> repeated(std::string_view text, double startBeat, int times);

}  // namespace soundgen
