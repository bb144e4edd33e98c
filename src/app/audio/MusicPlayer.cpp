#include "app/audio/MusicPlayer.hpp"

#include "app/platform/Random.hpp"

void MusicPlayer::addSong(const std::string& path, float pieceVolume) {
    auto song = std::make_unique<Song>();
    song->piece.load(path);
    song->volume = pieceVolume;
    songs.push_back(std::move(song));
}

void MusicPlayer::pickAnotherSong() {
    const int last = current;
    const int highest = static_cast<int>(songs.size()) - 1;
    while (current == last) {
        current = Random::integer(0, highest);
    }
}

// The volume goes first: a fresh piece would otherwise start at the volume
// the stream had before.
void MusicPlayer::playCurrent() {
    Song& song = *songs[current];
    MusicPiece::setStreamVolume(volume * song.volume);
    song.piece.play();
}

void MusicPlayer::start() {
    playing = true;
    if (songs.empty()) {
        return;
    }
    if (shuffle && songs.size() > 1) {
        pickAnotherSong();
    }
    playCurrent();
}

// A piece that could not start (its file was missing) counts as ended, so the
// next frame tries another.
void MusicPlayer::update() {
    if (!playing || songs.empty()) {
        return;
    }
    if (!MusicPiece::streamPlaying()) {
        if (shuffle && songs.size() > 1) {
            pickAnotherSong();
            playCurrent();
        } else {
            current = (current + 1) % static_cast<int>(songs.size());
            start();
        }
    }
    MusicPiece::setStreamVolume(volume * songs[current]->volume);
}

void MusicPlayer::stop() {
    // An idle player leaves the stream alone: it may be the other player's.
    if (playing && !songs.empty()) {
        MusicPiece::stopStream();
    }
    playing = false;
}
