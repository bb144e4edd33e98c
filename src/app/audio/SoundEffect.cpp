#include "app/audio/SoundEffect.hpp"

#include <SDL.h>
#include <SDL_mixer.h>

#include <utility>

#include "sim/base/DataFolder.hpp"
#include "sim/base/FileBytes.hpp"

int mixerVolume(float factor) {
    if (!(factor > 0.0f)) {
        return 0;
    }
    if (factor >= 1.0f) {
        return MIX_MAX_VOLUME;
    }
    return static_cast<int>(factor * MIX_MAX_VOLUME);
}

SoundEffect::~SoundEffect() {
    release();
}

SoundEffect::SoundEffect(SoundEffect&& other) noexcept
    : chunk(std::exchange(other.chunk, nullptr)),
      playChannel(other.playChannel),
      everPlayed(other.everPlayed),
      lastPlayTicks(other.lastPlayTicks) {}

SoundEffect& SoundEffect::operator=(SoundEffect&& other) noexcept {
    if (this != &other) {
        release();
        chunk = std::exchange(other.chunk, nullptr);
        playChannel = other.playChannel;
        everPlayed = other.everPlayed;
        lastPlayTicks = other.lastPlayTicks;
    }
    return *this;
}

bool mixerOpen() {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    return Mix_QuerySpec(&frequency, &format, &channels) != 0;
}

bool SoundEffect::ownsChannel() const {
    return chunk != nullptr && playChannel >= 0 && mixerOpen() &&
           playChannel < Mix_AllocateChannels(-1) && Mix_GetChunk(playChannel) == chunk;
}

void SoundEffect::release() {
    if (chunk == nullptr) {
        return;
    }
    // A chunk still playing must not be freed under the mixer's feet.
    if (ownsChannel()) {
        Mix_HaltChannel(playChannel);
    }
    Mix_FreeChunk(chunk);
    chunk = nullptr;
}

bool SoundEffect::load(const std::string& path) {
    release();
    const auto bytes = readWholeFile(path);
    if (!bytes || bytes->empty()) {
        reportUnreadableFile(path);
        return false;
    }
    SDL_RWops* source = SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size()));
    if (source == nullptr) {
        return false;
    }
    // The mixer decodes everything at once, so the file bytes can go right after.
    chunk = Mix_LoadWAV_RW(source, 1);
    return chunk != nullptr;
}

bool SoundEffect::play() {
    return playAt(SDL_GetTicks());
}

bool SoundEffect::playAt(std::uint32_t ticksMs) {
    if (chunk == nullptr) {
        return false;
    }
    // Unsigned difference: the counter's wrap-around after 49 days is harmless.
    if (!mixerOpen() || (everPlayed && ticksMs - lastPlayTicks < replayGuardMs)) {
        return false;
    }
    everPlayed = true;
    lastPlayTicks = ticksMs;
    playChannel = Mix_PlayChannelTimed(-1, chunk, 0, -1);
    return playChannel >= 0;
}

void SoundEffect::setVolume(float factor) {
    if (chunk != nullptr) {
        Mix_VolumeChunk(chunk, mixerVolume(factor));
    }
}

void SoundEffect::setChannelVolume(float factor) {
    // Channel -1 would mean "every channel" to the mixer.
    if (ownsChannel()) {
        Mix_Volume(playChannel, mixerVolume(factor));
    }
}

bool SoundEffect::isPlaying() const {
    return ownsChannel() && Mix_Playing(playChannel) != 0;
}

void SoundEffect::stop() {
    if (ownsChannel()) {
        Mix_HaltChannel(playChannel);
    }
}
