#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Effects.hpp"
#include "Reverb.hpp"
#include "StereoBuffer.hpp"
#include "Voices.hpp"

namespace soundgen {

// One note of a track, placed in beats from the start of the piece.
struct Note {
    double beat = 0.0;
    double beats = 1.0;  // how long the key is held
    double midi = 60.0;  // pitch, or the drum number on a drum track
    double velocity = 0.8;
    double pan = 0.0;  // added to the track's pan
};

struct TrackMix {
    double gain = 1.0;
    double pan = 0.0;         // -1 left .. +1 right
    double reverbSend = 0.2;  // share of the track sent to the room
    double humanise = 0.004;  // seconds of random timing spread
    std::optional<ChorusSettings> chorus;
    std::optional<EchoSettings> echo;
};

struct Track {
    std::string name;
    bool drums = false;
    Instrument instrument = Instrument::ElectricPiano;
    TrackMix mix;
    std::vector<Note> notes;

    void add(double beat, double beats, double midi, double velocity, double pan = 0.0) {
        notes.push_back({beat, beats, midi, velocity, pan});
    }
};

// A whole piece: tempo, length in bars, tracks and the master bus. A looping
// piece renders to exactly `bars` bars with its ending wrapped into its start;
// a one-shot piece renders to `lengthSeconds` and fades out.
struct Piece {
    int bpm = 120;
    int beatsPerBar = 4;
    int bars = 8;
    bool loops = true;
    double lengthSeconds = 0.0;  // one-shot pieces only
    double swing = 0.0;          // 0 straight .. 0.33 triplet feel for off-beat 8ths
    std::uint64_t seed = 1;
    ReverbSettings reverb;
    double reverbReturn = 1.0;
    double targetRmsDb = -16.0;  // loudness before the limiter
    // No sample above this; Vorbis coding adds up to about 1 dB on transients.
    double ceilingDb = -2.5;
    std::vector<Track> tracks;

    Track& addTrack(const std::string& name, Instrument instrument, const TrackMix& mix);
    Track& addDrums(const std::string& name, const TrackMix& mix);

    double secondsPerBeat() const { return 60.0 / bpm; }
    // Frames of one bar; the tempo is chosen so this is a whole number.
    std::size_t framesPerBar() const;
    std::size_t loopFrames() const { return framesPerBar() * static_cast<std::size_t>(bars); }
    // Frames of the finished piece: the loop, or the one-shot length.
    std::size_t bodyFrames() const;
    double beatsTotal() const { return static_cast<double>(bars) * beatsPerBar; }
};

// The finished piece: mixed, then mastered.
StereoBuffer renderPiece(const Piece& piece);
// Mixing: every track rendered with its effects, panned, and the shared room
// added; the result runs past the body by the ringing tail.
StereoBuffer mixPiece(const Piece& piece);
// Mastering: rumble filter, loop folding or cut, loudness, limiter, edge fades.
void masterPiece(const Piece& piece, StereoBuffer& mix);

}  // namespace soundgen
