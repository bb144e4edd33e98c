#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Opens the mixer the way the game does (44.1 kHz, signed 16-bit, stereo) on
// the dummy audio driver for the life of a test suite.
class MixerSession {
  public:
    MixerSession();
    ~MixerSession();
    MixerSession(const MixerSession&) = delete;
    MixerSession& operator=(const MixerSession&) = delete;

    bool open() const { return opened; }
    // What the mixer really delivers; chunks are decoded into this format.
    int frequency = 0;
    std::uint16_t format = 0;
    int channels = 0;

  private:
    bool opened = false;
};

// A sound decoded by the mixer exactly as the game loads it, interleaved stereo.
struct Decoded {
    std::vector<std::int16_t> samples;

    std::size_t frames() const { return samples.size() / 2; }
    double seconds() const { return static_cast<double>(frames()) / 44100.0; }
    // Largest absolute sample, as a fraction of full scale.
    double peak() const;
    // RMS over frames [from, to) of both channels, as a fraction of full scale.
    double rms(std::size_t from, std::size_t to) const;
    double rms() const { return rms(0, frames()); }
    // Largest absolute sample of one frame (both channels).
    double frameLevel(std::size_t frame) const;
};

// Decodes a WAV or Ogg file through SDL_RWFromConstMem and Mix_LoadWAV_RW;
// nothing when the file is missing or the mixer refuses it.
std::optional<Decoded> decodeWithMixer(const std::string& path);

struct StreamFormat {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;  // 0 for compressed streams
    int encoding = 0;       // WAV format tag: 1 is integer PCM
};
// The "fmt " chunk of a RIFF/WAVE file, walking the chunk list.
std::optional<StreamFormat> readWavFormat(const std::string& path);
// The identification header of an Ogg Vorbis stream (the first packet).
std::optional<StreamFormat> readVorbisFormat(const std::string& path);

double dbfs(double fraction);
