#pragma once

#include <cstdint>

#include "Arrangement.hpp"

namespace soundgen {

// A plain track mix: no chorus or echo until the caller sets them.
TrackMix trackMix(double gain, double pan, double reverbSend);
// The same, played exactly on time: short pieces whose hits must line up.
TrackMix tightMix(double gain, double pan, double reverbSend);

// A piece that loops after `bars` bars, and one that plays once for `seconds`.
Piece loopingPiece(int bpm, int bars, std::uint64_t seed);
Piece oneShotPiece(int bpm, double seconds, std::uint64_t seed);

// The shared room every track sends to, and how much of it comes back.
void setRoom(Piece& piece, double roomSize, double damping, double reverbReturn);

}  // namespace soundgen
