#pragma once

#include "Random.hpp"
#include "StereoBuffer.hpp"

namespace soundgen {

// The synthesiser's pitched instruments. FM voices give the struck and
// bell-like tones, subtractive voices (band-limited saws and squares through a
// resonant filter) the leads, pads, basses and brass.
enum class Instrument {
    ElectricPiano,  // two-operator FM with a bright tine at the attack
    Marimba,        // modal bar: fundamental, 4th and 10th partials
    Xylophone,      // modal bar tuned to the 3rd partial, short and bright
    Bell,           // inharmonic FM, long ring
    Lead,           // detuned saws and a pulse through a swept low-pass
    SoftLead,       // sine and triangle with breath noise, like a flute
    Pad,            // six detuned saws, slow attack, gentle filter
    SynthBass,      // saw and sub sine through a plucked low-pass
    RoundBass,      // warm sine bass for calm music
    FmBass,         // percussive FM bass with a slap at the attack
    Pluck,          // plucked string (Karplus-Strong)
    Brass,          // brass section: scooped pitch, filter opening with the attack
};

struct NoteSpec {
    double midi = 60.0;     // may be fractional
    double gate = 0.5;      // seconds the key is held
    double velocity = 0.8;  // 0..1
};

// One note as a mono signal from its onset until it has faded away.
MonoBuffer renderNote(Instrument instrument, const NoteSpec& note, Random& random);

// Drum sounds by General MIDI note number at full velocity; 0..3 `variant`
// picks one of a few takes so repeated hits are not identical.
namespace Drum {
constexpr int kick = 36;
constexpr int rim = 37;
constexpr int snare = 38;
constexpr int clap = 39;
constexpr int closedHat = 42;
constexpr int lowTom = 45;
constexpr int openHat = 46;
constexpr int midTom = 47;
constexpr int crash = 49;
constexpr int highTom = 50;
constexpr int ride = 51;
constexpr int cowbell = 56;
constexpr int conga = 63;
constexpr int shaker = 70;
}  // namespace Drum
MonoBuffer renderDrum(int drum, int variant);

}  // namespace soundgen
