#include "Arrangement.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>
#include <utility>

#include "Dsp.hpp"
#include "Random.hpp"

namespace soundgen {

namespace {

// Seconds of ringing rendered past the last bar: long enough for the room and
// the longest release to die away before they are folded back.
constexpr double tailSeconds = 5.0;
// The very first and last frames of a loop are faded over this time so that
// the player's restart never clicks.
constexpr double loopEdgeFade = 0.004;
constexpr double oneShotFadeOut = 0.25;

// Off-beat eighths come late by `swing` of an eighth; everything between moves
// proportionally, so notes keep their order.
double swungBeat(double beat, double swing) {
    const double eighths = beat * 2.0;
    const double whole = std::floor(eighths);
    const double x = eighths - whole;
    const double bent =
        x < 0.5 ? x * (1.0 + swing) : 0.5 * (1.0 + swing) + (x - 0.5) * (1.0 - swing);
    return (whole + bent) / 2.0;
}

class DrumKit {
  public:
    const MonoBuffer& hit(int drum) {
        const int variant = counters[drum]++ % 4;
        auto key = std::make_pair(drum, variant);
        auto found = takes.find(key);
        if (found == takes.end()) {
            found = takes.emplace(key, renderDrum(drum, variant)).first;
        }
        return found->second;
    }

  private:
    std::map<std::pair<int, int>, MonoBuffer> takes;
    std::map<int, int> counters;
};

// Fixed stereo places of the drums, as a drummer sits behind the kit.
double drumPan(int drum) {
    switch (drum) {
        case Drum::closedHat:
        case Drum::openHat:
            return 0.3;
        case Drum::highTom:
            return 0.35;
        case Drum::midTom:
            return 0.0;
        case Drum::lowTom:
            return -0.35;
        case Drum::ride:
            return -0.4;
        case Drum::crash:
            return -0.25;
        case Drum::shaker:
            return -0.45;
        case Drum::conga:
            return 0.5;
        case Drum::cowbell:
            return -0.3;
        default:
            return 0.0;
    }
}

StereoBuffer renderTrack(const Piece& piece, const Track& track, std::size_t frames, Random& timing,
                         DrumKit& kit) {
    StereoBuffer bus(frames);
    Random voiceRandom(piece.seed * 7919u + hashText(track.name.c_str()));
    for (const Note& note : track.notes) {
        const double beat = swungBeat(note.beat, piece.swing);
        const double jitter = timing.range(-1.0, 1.0) * track.mix.humanise;
        const double seconds = std::max(0.0, beat * piece.secondsPerBeat() + jitter);
        const std::size_t start = secondsToFrames(seconds);
        const double velocity = std::clamp(note.velocity * timing.range(0.94, 1.0), 0.0, 1.0);
        if (track.drums) {
            const int drum = static_cast<int>(note.midi);
            bus.addMono(kit.hit(drum), start, velocity, track.mix.pan + drumPan(drum) + note.pan);
            continue;
        }
        const NoteSpec noteSpec{note.midi, note.beats * piece.secondsPerBeat(), velocity};
        bus.addMono(renderNote(track.instrument, noteSpec, voiceRandom), start, 1.0,
                    track.mix.pan + note.pan);
    }
    bus.truncate(frames);
    if (track.mix.chorus) {
        ChorusSettings settings = *track.mix.chorus;
        if (piece.loops) {
            // A whole number of sweeps per loop, so the seam joins in phase.
            const double loopSeconds = framesToSeconds(piece.loopFrames());
            settings.rateHz =
                std::max(1.0, std::round(settings.rateHz * loopSeconds)) / loopSeconds;
        }
        chorus(bus, settings);
    }
    if (track.mix.echo) {
        pingPongEcho(bus, *track.mix.echo);
    }
    return bus;
}

}  // namespace

Track& Piece::addTrack(const std::string& name, Instrument instrument, const TrackMix& mix) {
    tracks.push_back(Track{name, false, instrument, mix, {}});
    return tracks.back();
}

Track& Piece::addDrums(const std::string& name, const TrackMix& mix) {
    tracks.push_back(Track{name, true, Instrument::ElectricPiano, mix, {}});
    return tracks.back();
}

std::size_t Piece::framesPerBar() const {
    const long long numerator = 60LL * sampleRate * beatsPerBar;
    if (bpm <= 0 || numerator % bpm != 0) {
        throw std::invalid_argument("tempo gives a bar of a fractional number of frames");
    }
    return static_cast<std::size_t>(numerator / bpm);
}

std::size_t Piece::bodyFrames() const {
    return loops ? loopFrames() : secondsToFrames(lengthSeconds);
}

StereoBuffer mixPiece(const Piece& piece) {
    const std::size_t frames = piece.bodyFrames() + secondsToFrames(tailSeconds);
    StereoBuffer master(frames);
    MonoBuffer send(frames, 0.0f);
    Random timing(piece.seed);
    DrumKit kit;
    for (const Track& track : piece.tracks) {
        const StereoBuffer bus = renderTrack(piece, track, frames, timing, kit);
        master.addStereo(bus, 0, track.mix.gain);
        const double sendGain = 0.5 * track.mix.gain * track.mix.reverbSend;
        for (std::size_t i = 0; i < frames; ++i) {
            send[i] += static_cast<float>((bus.left[i] + bus.right[i]) * sendGain);
        }
    }
    master.addStereo(reverberate(send, piece.reverb), 0, piece.reverbReturn);
    return master;
}

void masterPiece(const Piece& piece, StereoBuffer& master) {
    const std::size_t body = piece.bodyFrames();
    highPass(master, 25.0);

    if (piece.loops) {
        master.foldLoop(body);
    } else {
        master.truncate(body);
    }
    const double rms = master.rms();
    if (rms > 0.0) {
        master.scale(dbToGain(piece.targetRmsDb) / rms);
    }
    limit(master, piece.ceilingDb, 0.08, piece.loops);
    if (piece.loops) {
        master.fadeIn(loopEdgeFade);
        master.fadeOut(loopEdgeFade);
    } else {
        master.fadeIn(0.002);
        master.fadeOut(oneShotFadeOut);
    }
}

StereoBuffer renderPiece(const Piece& piece) {
    StereoBuffer master = mixPiece(piece);
    masterPiece(piece, master);
    return master;
}

}  // namespace soundgen
