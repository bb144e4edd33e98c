#include "AudioHelpers.hpp"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/Files.hpp"

namespace {

constexpr double fullScale = 32768.0;

std::uint32_t littleEndian(const std::vector<char>& bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

bool textAt(const std::vector<char>& bytes, std::size_t at, const char* text) {
    const std::size_t length = std::strlen(text);
    return at + length <= bytes.size() && std::memcmp(bytes.data() + at, text, length) == 0;
}

}  // namespace

MixerSession::MixerSession() {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (SDL_Init(SDL_INIT_AUDIO) != 0) {
        return;
    }
    if (Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048) != 0) {
        return;
    }
    opened = true;
    Mix_QuerySpec(&frequency, &format, &channels);
}

MixerSession::~MixerSession() {
    if (opened) {
        Mix_CloseAudio();
    }
    SDL_Quit();
}

double Decoded::peak() const {
    int largest = 0;
    for (std::int16_t s : samples) {
        largest = std::max(largest, std::abs(static_cast<int>(s)));
    }
    return largest / fullScale;
}

double Decoded::rms(std::size_t from, std::size_t to) const {
    to = std::min(to, frames());
    if (to <= from) {
        return 0.0;
    }
    double sum = 0.0;
    for (std::size_t i = 2 * from; i < 2 * to; ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    return std::sqrt(sum / (2.0 * static_cast<double>(to - from))) / fullScale;
}

double Decoded::frameLevel(std::size_t frame) const {
    const int left = std::abs(static_cast<int>(samples[2 * frame]));
    const int right = std::abs(static_cast<int>(samples[2 * frame + 1]));
    return std::max(left, right) / fullScale;
}

std::optional<Decoded> decodeWithMixer(const std::string& path) {
    const std::optional<std::vector<char>> bytes = readWholeFile(path);
    if (!bytes || bytes->empty()) {
        return std::nullopt;
    }
    SDL_RWops* source = SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size()));
    Mix_Chunk* chunk = Mix_LoadWAV_RW(source, 1);
    if (chunk == nullptr) {
        return std::nullopt;
    }
    Decoded decoded;
    decoded.samples.resize(chunk->alen / sizeof(std::int16_t));
    std::memcpy(decoded.samples.data(), chunk->abuf, decoded.samples.size() * sizeof(std::int16_t));
    Mix_FreeChunk(chunk);
    return decoded;
}

std::optional<StreamFormat> readWavFormat(const std::string& path) {
    const std::optional<std::vector<char>> bytes = readWholeFile(path);
    if (!bytes || !textAt(*bytes, 0, "RIFF") || !textAt(*bytes, 8, "WAVE")) {
        return std::nullopt;
    }
    std::size_t at = 12;
    while (at + 8 <= bytes->size()) {
        const std::uint32_t size = littleEndian(*bytes, at + 4, 4);
        if (textAt(*bytes, at, "fmt ") && size >= 16 && at + 8 + 16 <= bytes->size()) {
            StreamFormat format;
            format.encoding = static_cast<int>(littleEndian(*bytes, at + 8, 2));
            format.channels = static_cast<int>(littleEndian(*bytes, at + 10, 2));
            format.sampleRate = static_cast<int>(littleEndian(*bytes, at + 12, 4));
            format.bitsPerSample = static_cast<int>(littleEndian(*bytes, at + 22, 2));
            return format;
        }
        at += 8 + size + (size & 1);  // chunks are padded to even sizes
    }
    return std::nullopt;
}

std::optional<StreamFormat> readVorbisFormat(const std::string& path) {
    const std::optional<std::vector<char>> bytes = readWholeFile(path);
    // First Ogg page: 27-byte header, segment table, then the identification
    // packet "\x01vorbis", version (4 bytes), channels (1), sample rate (4).
    if (!bytes || bytes->size() < 28 || !textAt(*bytes, 0, "OggS")) {
        return std::nullopt;
    }
    const std::size_t segments = static_cast<unsigned char>((*bytes)[26]);
    const std::size_t packet = 27 + segments;
    if (packet + 16 > bytes->size() || (*bytes)[packet] != 1 ||
        !textAt(*bytes, packet + 1, "vorbis")) {
        return std::nullopt;
    }
    StreamFormat format;
    format.channels = static_cast<unsigned char>((*bytes)[packet + 11]);
    format.sampleRate = static_cast<int>(littleEndian(*bytes, packet + 12, 4));
    return format;
}

double dbfs(double fraction) {
    return 20.0 * std::log10(std::max(fraction, 1e-9));
}
