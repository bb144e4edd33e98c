#include "app/MusicPlayer.hpp"

#include "app/Random.hpp"

void MusicPlayer::addSong(const std::string& path, float chunkVolume) {
    auto song = std::make_unique<SoundEffect>();
    if (song->load(path)) {
        song->setVolume(chunkVolume);
    }
    songs.push_back(std::move(song));
}

void MusicPlayer::pickAnotherSong() {
    const int last = current;
    const int highest = static_cast<int>(songs.size()) - 1;
    while (current == last) {
        current = Random::integer(0, highest);
    }
}

void MusicPlayer::start() {
    if (songs.empty()) {
        playing = true;
        return;
    }
    if (shuffle && songs.size() > 1) {
        pickAnotherSong();
    }
    playing = true;
    songs[current]->play();
    // Set at once: a fresh channel would otherwise play one frame at full volume.
    songs[current]->setChannelVolume(volume);
}

void MusicPlayer::update() {
    if (!playing || songs.empty()) {
        return;
    }
    SoundEffect& song = *songs[current];
    if (!song.isPlaying()) {
        if (shuffle && songs.size() > 1) {
            pickAnotherSong();
            songs[current]->play();
        } else {
            current = (current + 1) % static_cast<int>(songs.size());
            start();
        }
    }
    songs[current]->setChannelVolume(volume);
}

void MusicPlayer::stop() {
    playing = false;
    if (!songs.empty()) {
        songs[current]->stop();
    }
}
