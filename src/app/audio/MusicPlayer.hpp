#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/audio/MusicPiece.hpp"

// A playlist that keeps background music going on the mixer's music stream:
// one piece after another, at random but never the same piece twice in a row.
// The owner of the music at the moment calls update() once per frame.
//
// There is one stream for every player: a player that starts takes it over,
// so the screens stop one player before they start the other.
class MusicPlayer {
  public:
    // Loads a piece and appends it even when loading failed, so indices stay
    // those of the order in which pieces were added. `pieceVolume` (0..1)
    // scales the player's volume while this piece plays.
    void addSong(const std::string& path, float pieceVolume);
    void start();
    void update();
    void stop();

    bool isPlaying() const { return playing; }
    int currentIndex() const { return current; }
    std::size_t songCount() const { return songs.size(); }
    const MusicPiece& song(std::size_t index) const { return songs[index]->piece; }

    // Music volume factor 0..1, applied to the stream every frame.
    float volume = 1.0f;

  private:
    struct Song {
        MusicPiece piece;
        float volume = 1.0f;
    };

    void pickAnotherSong();
    void playCurrent();

    int current = 0;
    std::vector<std::unique_ptr<Song>> songs;
    bool playing = false;
    bool shuffle = true;
};
