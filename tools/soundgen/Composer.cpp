#include "Composer.hpp"

#include <cmath>
#include <string>

namespace soundgen {

namespace {

constexpr double stepBeats = 0.25;

// The steps of `pattern` (spaces and bar lines removed) that fall into a chord
// of `beats` length starting at `beat`, the pattern repeating every bar.
std::string slice(std::string_view pattern, double beat, double beats) {
    std::string cells;
    for (char c : pattern) {
        if (c != ' ' && c != '|') {
            cells.push_back(c);
        }
    }
    if (cells.empty()) {
        return {};
    }
    const long first = std::lround(beat / stepBeats);
    const long count = std::lround(beats / stepBeats);
    std::string result;
    for (long k = 0; k < count; ++k) {
        result.push_back(
            cells[static_cast<std::size_t>((first + k) % static_cast<long>(cells.size()))]);
    }
    return result;
}

}  // namespace

void compChords(Track& track, const std::vector<ChordSpan>& spans, std::string_view pattern,
                int low, int high, int count, double velocity) {
    std::vector<int> voicing;
    for (const ChordSpan& span : spans) {
        voicing = voiceChord(span.chord, low, high, count, voicing);
        chordPattern(track, span.beat, slice(pattern, span.beat, span.beats), voicing, velocity);
    }
}

void holdChords(Track& track, const std::vector<ChordSpan>& spans, int low, int high, int count,
                double velocity) {
    std::vector<int> voicing;
    for (const ChordSpan& span : spans) {
        voicing = voiceChord(span.chord, low, high, count, voicing);
        for (int note : voicing) {
            track.add(span.beat, span.beats * 0.98, note, velocity);
        }
    }
}

void bassLine(Track& track, const std::vector<ChordSpan>& spans, std::string_view pattern,
              int lowest, double velocity) {
    for (std::size_t k = 0; k < spans.size(); ++k) {
        // The last chord approaches the first, as the piece comes round again.
        const Chord& next = spans[(k + 1) % spans.size()].chord;
        bassPattern(track, spans[k].beat, slice(pattern, spans[k].beat, spans[k].beats),
                    spans[k].chord, next, lowest, velocity);
    }
}

void arpeggio(Track& track, const std::vector<ChordSpan>& spans, std::string_view pattern, int low,
              int high, int count, double velocity) {
    std::vector<int> voicing;
    for (const ChordSpan& span : spans) {
        voicing = voiceChord(span.chord, low, high, count, voicing);
        arpPattern(track, span.beat, slice(pattern, span.beat, span.beats), voicing, velocity);
    }
}

void drumLoop(Track& track, int startBar, int bars, std::string_view pattern, int drum) {
    for (int bar = 0; bar < bars; ++bar) {
        drumPattern(track, (startBar + bar) * 4.0, pattern, drum);
    }
}

std::vector<ChordSpan> repeated(std::string_view text, double startBeat, int times) {
    std::vector<ChordSpan> all;
    double beat = startBeat;
    for (int k = 0; k < times; ++k) {
        std::vector<ChordSpan> once = progression(text, beat);
        for (const ChordSpan& span : once) {
            beat = span.beat + span.beats;
        }
        all.insert(all.end(), once.begin(), once.end());
    }
    return all;
}

}  // namespace soundgen
