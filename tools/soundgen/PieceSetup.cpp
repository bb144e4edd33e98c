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

Piece loopingPiece(int bpm, int bars, std::uint64_t seed) {
    Piece piece;
    piece.bpm = bpm;
    piece.bars = bars;
    piece.seed = seed;
    return piece;
}

Piece oneShotPiece(int bpm, double seconds, std::uint64_t seed) {
    Piece piece;
    piece.bpm = bpm;
    piece.loops = false;
    piece.lengthSeconds = seconds;
    piece.seed = seed;
    return piece;
}

void setRoom(Piece& piece, double roomSize, double damping, double reverbReturn) {
    piece.reverb.roomSize = roomSize;
    piece.reverb.damping = damping;
    piece.reverbReturn = reverbReturn;
}

}  // namespace soundgen
