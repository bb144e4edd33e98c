#pragma once

#include <string>

#include "StereoBuffer.hpp"

namespace soundgen {

// 16-bit PCM WAV, 44.1 kHz, stereo. Samples are rounded and clamped to the
// 16-bit range. Returns false when the file cannot be written.
bool writeWav(const std::string& path, const StereoBuffer& buffer);

// Ogg Vorbis, 44.1 kHz stereo, variable bit rate at `quality` (-0.1 .. 1.0).
// The stream serial number comes from `title`, so the bytes depend only on the
// samples and the title.
bool writeOgg(const std::string& path, const StereoBuffer& buffer, const std::string& title,
              float quality);

}  // namespace soundgen
