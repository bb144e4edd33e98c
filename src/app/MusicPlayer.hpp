#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/SoundEffect.hpp"

// A playlist that keeps background music going: whole pieces decoded in memory,
// one after another, at random but never the same piece twice in a row.
// The owner of the music at the moment calls update() once per frame.
class MusicPlayer {
  public:
    // Loads a piece and appends it even when loading failed, so indices stay
    // those of the order in which pieces were added.
    void addSong(const std::string& path, float chunkVolume);
    void start();
    void update();
    void stop();

    bool isPlaying() const { return playing; }
    int currentIndex() const { return current; }
    std::size_t songCount() const { return songs.size(); }
    const SoundEffect& song(std::size_t index) const { return *songs[index]; }

    // Music volume factor 0..1, applied to the playing channel every frame.
    float volume = 1.0f;

  private:
    void pickAnotherSong();

    int current = 0;
    std::vector<std::unique_ptr<SoundEffect>> songs;
    bool playing = false;
    bool shuffle = true;
};
