#include "TestAudio.hpp"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

TestAudio::TestAudio() {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (SDL_Init(SDL_INIT_AUDIO) != 0) {
        return;
    }
    open = Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048) == 0;
    if (open) {
        Mix_AllocateChannels(32);
    }
}

TestAudio::~TestAudio() {
    if (open) {
        Mix_CloseAudio();
    }
    SDL_Quit();
}

namespace {

void put16(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xff);
    out += static_cast<char>(value >> 8);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, static_cast<std::uint16_t>(value & 0xffff));
    put16(out, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace

std::string makeToneWav(double seconds, double frequency) {
    const std::uint32_t rate = 44100;
    const auto frames = static_cast<std::uint32_t>(seconds * rate);
    const std::uint32_t dataBytes = frames * 4;
    std::string wav = "RIFF";
    put32(wav, 36 + dataBytes);
    wav += "WAVEfmt ";
    put32(wav, 16);
    put16(wav, 1);
    put16(wav, 2);
    put32(wav, rate);
    put32(wav, rate * 4);
    put16(wav, 4);
    put16(wav, 16);
    wav += "data";
    put32(wav, dataBytes);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double value = 0.2 * std::sin(2.0 * M_PI * frequency * i / rate);
        const auto sample = static_cast<std::int16_t>(value * 32767.0);
        put16(wav, static_cast<std::uint16_t>(sample));
        put16(wav, static_cast<std::uint16_t>(sample));
    }
    return wav;
}
