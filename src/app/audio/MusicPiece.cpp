#include "app/audio/MusicPiece.hpp"

#include <SDL.h>
#include <SDL_mixer.h>

#include "app/audio/SoundEffect.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/base/FileBytes.hpp"

MusicPiece::~MusicPiece() {
    release();
}

void MusicPiece::release() {
    if (music != nullptr) {
        // Halts the piece first if it is the one playing.
        Mix_FreeMusic(music);
        music = nullptr;
    }
    file.clear();
}

bool MusicPiece::load(const std::string& path) {
    release();
    auto bytes = readWholeFile(path);
    if (!bytes || bytes->empty()) {
        reportUnreadableFile(path);
        return false;
    }
    if (!mixerOpen()) {
        return false;
    }
    file = std::move(*bytes);
    SDL_RWops* source = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    if (source == nullptr) {
        file.clear();
        return false;
    }
    // The piece owns the source from here on and closes it when freed.
    music = Mix_LoadMUS_RW(source, 1);
    if (music == nullptr) {
        file.clear();
        return false;
    }
    file.shrink_to_fit();
    return true;
}

bool MusicPiece::play() {
    if (music == nullptr || !mixerOpen()) {
        return false;
    }
    return Mix_PlayMusic(music, 0) == 0;
}

bool MusicPiece::streamPlaying() {
    return mixerOpen() && Mix_PlayingMusic() != 0;
}

void MusicPiece::stopStream() {
    if (mixerOpen()) {
        Mix_HaltMusic();
    }
}

void MusicPiece::setStreamVolume(float factor) {
    if (mixerOpen()) {
        Mix_VolumeMusic(mixerVolume(factor));
    }
}

int MusicPiece::streamVolume() {
    return mixerOpen() ? Mix_VolumeMusic(-1) : 0;
}
