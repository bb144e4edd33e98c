#include "PieceSetup.hpp"

namespace soundgen {

TrackMix trackMix(double gain, double pan, double reverbSend) {
    TrackMix mix;
    mix.gain = gain;
    mix.pan = pan;
    mix.reverbSend = reverbSend;
    return mix;
}

TrackMix tightMix(double gain, double pan, double reverbSend) {
    TrackMix mix = trackMix(gain, pan, reverbSend);
    mix.humanise = 0.0;
    return mix;
}

namespace {

Piece withTempo(int bpm, std::uint64_t seed) {
    Piece piece;
    piece.bpm = bpm;
    piece.seed = seed;
    return piece;
}

}  // namespace

Piece loopingPiece(int bpm, int bars, std::uint64_t seed) {
    Piece piece = withTempo(bpm, seed);
    piece.bars = bars;
    return piece;
}

Piece oneShotPiece(int bpm, double seconds, std::uint64_t seed) {
    Piece piece = withTempo(bpm, seed);
    piece.loops = false;
    piece.lengthSeconds = seconds;
    return piece;
}

void setRoom(Piece& piece, double roomSize, double damping, double reverbReturn) {
    piece.reverb.roomSize = roomSize;
    piece.reverb.damping = damping;
    piece.reverbReturn = reverbReturn;
}

}  // namespace soundgen
