#include "Notation.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace soundgen {

namespace {

int pitchClassOf(char letter) {
    switch (std::toupper(static_cast<unsigned char>(letter))) {
        case 'C':
            return 0;
        case 'D':
            return 2;
        case 'E':
            return 4;
        case 'F':
            return 5;
        case 'G':
            return 7;
        case 'A':
            return 9;
        case 'B':
            return 11;
        default:
            throw std::invalid_argument("not a note letter: " + std::string(1, letter));
    }
}

// Reads a letter and its accidentals; returns the pitch class and the rest.
std::pair<int, std::string_view> readPitchClass(std::string_view text) {
    if (text.empty()) {
        throw std::invalid_argument("empty note name");
    }
    int pc = pitchClassOf(text[0]);
    std::size_t i = 1;
    while (i < text.size() && (text[i] == '#' || text[i] == 'b')) {
        pc += text[i] == '#' ? 1 : -1;
        ++i;
    }
    return {((pc % 12) + 12) % 12, text.substr(i)};
}

double parseBeats(std::string_view text) {
    const std::string s(text);
    const std::size_t slash = s.find('/');
    if (slash == std::string::npos) {
        return std::stod(s);
    }
    return std::stod(s.substr(0, slash)) / std::stod(s.substr(slash + 1));
}

std::vector<std::string> splitWords(std::string_view text) {
    std::istringstream stream{std::string(text)};
    std::vector<std::string> words;
    std::string word;
    while (stream >> word) {
        words.push_back(word);
    }
    return words;
}

// Suffixes longest first, so "maj7" is not read as "m" + "aj7".
const std::vector<std::pair<std::string, std::vector<int>>>& chordQualities() {
    static const std::vector<std::pair<std::string, std::vector<int>>> table = {
        {"maj9", {0, 4, 7, 11, 14}}, {"maj7", {0, 4, 7, 11}},  {"m7b5", {0, 3, 6, 10}},
        {"7sus4", {0, 5, 7, 10}},    {"add9", {0, 4, 7, 14}},  {"7b9", {0, 4, 7, 10, 13}},
        {"sus4", {0, 5, 7}},         {"sus2", {0, 2, 7}},      {"m9", {0, 3, 7, 10, 14}},
        {"m7", {0, 3, 7, 10}},       {"m6", {0, 3, 7, 9}},     {"13", {0, 4, 10, 14, 21}},
        {"dim", {0, 3, 6}},          {"9", {0, 4, 7, 10, 14}}, {"7", {0, 4, 7, 10}},
        {"6", {0, 4, 7, 9}},         {"m", {0, 3, 7}},         {"", {0, 4, 7}},
    };
    return table;
}

// Which chord tones a few voices should keep: the colour notes (3rd, 7th,
// extensions) before the 5th and the root, which the bass already plays.
std::vector<int> voicePriority(const Chord& chord) {
    const std::vector<int>& iv = chord.intervals;
    if (iv.size() <= 3) {
        return iv;
    }
    std::vector<int> order;
    for (std::size_t k = 1; k < iv.size(); ++k) {
        if (iv[k] != 7) {
            order.push_back(iv[k]);
        }
    }
    if (std::find(iv.begin(), iv.end(), 7) != iv.end()) {
        order.push_back(7);
    }
    order.push_back(0);
    return order;
}

}  // namespace

int noteNumber(std::string_view name) {
    const auto [pc, rest] = readPitchClass(name);
    if (rest.empty()) {
        throw std::invalid_argument("note without octave: " + std::string(name));
    }
    const int octave = std::stoi(std::string(rest));
    return 12 * (octave + 1) + pc;
}

double melody(Track& track, double startBeat, std::string_view text, double velocity,
              double transpose) {
    double beat = startBeat;
    for (std::string word : splitWords(text)) {
        double gateShare = 0.9;
        double accent = 0.0;
        while (!word.empty() && (word.back() == '!' || word.back() == '\'' || word.back() == '~')) {
            if (word.back() == '!') {
                accent = 0.15;
            } else if (word.back() == '\'') {
                gateShare = 0.45;
            } else {
                gateShare = 1.02;
            }
            word.pop_back();
        }
        const std::size_t colon = word.find(':');
        if (colon == std::string::npos) {
            throw std::invalid_argument("melody token without length: " + word);
        }
        const double beats = parseBeats(std::string_view(word).substr(colon + 1));
        const std::string pitches = word.substr(0, colon);
        if (pitches != "r") {
            std::size_t from = 0;
            while (from <= pitches.size()) {
                const std::size_t plus = std::min(pitches.find('+', from), pitches.size());
                const int midi = noteNumber(std::string_view(pitches).substr(from, plus - from));
                track.add(beat, beats * gateShare, midi + transpose,
                          std::min(1.0, velocity + accent));
                from = plus + 1;
            }
        }
        beat += beats;
    }
    return beat;
}

Chord parseChord(std::string_view symbol) {
    Chord chord;
    std::string_view text = symbol;
    std::optional<int> slashBass;
    const std::size_t slash = text.find('/');
    if (slash != std::string_view::npos) {
        slashBass = readPitchClass(text.substr(slash + 1)).first;
        text = text.substr(0, slash);
    }
    const auto [root, suffix] = readPitchClass(text);
    chord.root = root;
    chord.bass = slashBass.value_or(root);
    for (const auto& [name, intervals] : chordQualities()) {
        if (suffix == name) {
            chord.intervals = intervals;
            return chord;
        }
    }
    throw std::invalid_argument("unknown chord: " + std::string(symbol));
}

std::vector<ChordSpan> progression(std::string_view text, double startBeat) {
    std::vector<ChordSpan> spans;
    double beat = startBeat;
    for (const std::string& word : splitWords(text)) {
        const std::size_t colon = word.rfind(':');
        if (colon == std::string::npos) {
            throw std::invalid_argument("chord without length: " + word);
        }
        const double beats = parseBeats(std::string_view(word).substr(colon + 1));
        spans.push_back({parseChord(std::string_view(word).substr(0, colon)), beat, beats});
        beat += beats;
    }
    return spans;
}

std::vector<int> voiceChord(const Chord& chord, int low, int high, int count,
                            const std::vector<int>& previous) {
    const std::vector<int> priority = voicePriority(chord);
    // The chosen tones in rising order above the root; rotating them gives the
    // inversions. Doubled tones (more voices than tones) go on top.
    std::vector<int> chosen;
    std::vector<int> doubled;
    for (int k = 0; k < count; ++k) {
        const int interval = priority[k % priority.size()] % 12;
        if (std::find(chosen.begin(), chosen.end(), interval) == chosen.end()) {
            chosen.push_back(interval);
        } else {
            doubled.push_back(interval);
        }
    }
    std::sort(chosen.begin(), chosen.end());
    std::vector<int> best;
    double bestCost = std::numeric_limits<double>::max();
    const double centre = 0.5 * (low + high);
    for (std::size_t rotation = 0; rotation < chosen.size(); ++rotation) {
        std::vector<int> classes;
        for (std::size_t k = 0; k < chosen.size(); ++k) {
            classes.push_back((chord.root + chosen[(rotation + k) % chosen.size()]) % 12);
        }
        for (int interval : doubled) {
            classes.push_back((chord.root + interval) % 12);
        }
        for (int base = low; base < low + 12; ++base) {
            std::vector<int> candidate;
            int note = base;
            for (std::size_t k = 0; k < classes.size(); ++k) {
                const int pc = classes[k];
                while ((note % 12) != pc) {
                    ++note;
                }
                candidate.push_back(note);
                ++note;
            }
            if (candidate.front() != base || candidate.back() > high) {
                continue;
            }
            double cost = 0.0;
            if (previous.size() == candidate.size()) {
                for (std::size_t k = 0; k < candidate.size(); ++k) {
                    cost += std::abs(candidate[k] - previous[k]);
                }
            } else {
                double mean = 0.0;
                for (int n : candidate) {
                    mean += n;
                }
                cost = std::fabs(mean / candidate.size() - centre);
            }
            if (cost < bestCost) {
                bestCost = cost;
                best = candidate;
            }
        }
    }
    if (best.empty()) {
        throw std::invalid_argument("chord with root " + std::to_string(chord.root) +
                                    " does not fit between " + std::to_string(low) + " and " +
                                    std::to_string(high));
    }
    return best;
}

int bassNote(const Chord& chord, int lowest) {
    int note = lowest;
    while (note % 12 != chord.bass) {
        ++note;
    }
    return note;
}

namespace {

// Walks a step pattern and calls `play(step character, beat, held beats)`.
void walkSteps(std::string_view steps, double startBeat, double stepBeats,
               const std::function<void(char, double, double)>& play) {
    std::vector<std::pair<char, int>> cells;  // character, index of its step
    int index = 0;
    for (char c : steps) {
        if (c == ' ' || c == '|') {
            continue;
        }
        cells.emplace_back(c, index++);
    }
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const char c = cells[k].first;
        if (c == '.' || c == '-') {
            continue;
        }
        int held = 1;
        while (k + held < cells.size() && cells[k + held].first == '-') {
            ++held;
        }
        play(c, startBeat + cells[k].second * stepBeats, held * stepBeats);
    }
}

double stepVelocity(char c) {
    switch (c) {
        case 'X':
            return 1.0;
        case 'o':
            return 0.45;
        default:
            return 0.75;
    }
}

int chordTone(const Chord& chord, int degree) {
    auto has = [&](int interval) {
        return std::find(chord.intervals.begin(), chord.intervals.end(), interval) !=
               chord.intervals.end();
    };
    switch (degree) {
        case 3:
            return has(3) ? 3 : (has(4) ? 4 : (has(5) ? 5 : 2));
        case 5:
            return has(6) ? 6 : 7;
        case 7:
            return has(10) ? 10 : (has(11) ? 11 : 12);
        default:
            return 0;
    }
}

}  // namespace

void drumPattern(Track& track, double startBeat, std::string_view steps, int drum,
                 double stepBeats) {
    walkSteps(steps, startBeat, stepBeats, [&](char c, double beat, double beats) {
        track.add(beat, beats, drum, stepVelocity(c));
    });
}

void bassPattern(Track& track, double startBeat, std::string_view steps, const Chord& chord,
                 const Chord& nextChord, int lowest, double velocity, double stepBeats) {
    const int root = bassNote(chord, lowest);
    // Intervals count from the chord's root even over a slash bass.
    const int chordRoot = bassNote(Chord{chord.root, chord.root, {}}, lowest);
    walkSteps(steps, startBeat, stepBeats, [&](char c, double beat, double beats) {
        int note = root;
        double v = velocity;
        switch (c) {
            case 'r':
                v *= 0.6;
                break;
            case '5':
                note = chordRoot + chordTone(chord, 5);
                break;
            case '8':
                note = root + 12;
                break;
            case '3':
                note = chordRoot + chordTone(chord, 3);
                break;
            case '7':
                note = chordRoot + chordTone(chord, 7);
                break;
            case 'A':
                note = bassNote(nextChord, lowest) - 1;
                break;
            default:
                break;
        }
        track.add(beat, beats * 0.9, note, v);
    });
}

void chordPattern(Track& track, double startBeat, std::string_view steps,
                  const std::vector<int>& voicing, double velocity, double stepBeats) {
    walkSteps(steps, startBeat, stepBeats, [&](char c, double beat, double beats) {
        const double v = velocity * (c == 'X' ? 1.0 : (c == 'o' ? 0.6 : 0.85));
        for (int note : voicing) {
            track.add(beat, beats * 0.92, note, v);
        }
    });
}

void arpPattern(Track& track, double startBeat, std::string_view steps,
                const std::vector<int>& voicing, double velocity, double stepBeats) {
    walkSteps(steps, startBeat, stepBeats, [&](char c, double beat, double beats) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return;
        }
        const int index = c - '0';
        const int size = static_cast<int>(voicing.size());
        const int note = voicing[index % size] + 12 * (index / size);
        track.add(beat, beats * 0.9, note, velocity);
    });
}

}  // namespace soundgen
