#pragma once

#include <cstdint>
#include <string>

struct Mix_Chunk;

// One decoded sound held in memory, with the mixer channel it last played on.
// Playing costs only a channel; the same effect never starts twice within
// 50 ms, so a burst of contacts in one frame sounds once.
class SoundEffect {
  public:
    static constexpr std::uint32_t replayGuardMs = 50;

    SoundEffect() = default;
    ~SoundEffect();
    SoundEffect(const SoundEffect&) = delete;
    SoundEffect& operator=(const SoundEffect&) = delete;
    SoundEffect(SoundEffect&& other) noexcept;
    SoundEffect& operator=(SoundEffect&& other) noexcept;

    // Reads and decodes a WAV or Ogg file; false (and silence) when it is missing,
    // broken or the mixer is not open. A missing or empty file is reported on
    // standard error.
    bool load(const std::string& path);
    bool loaded() const { return chunk != nullptr; }

    // Starts the sound on the first free channel; false when there is no sound,
    // when it started less than 50 ms ago, or when no channel was free.
    bool play();
    // The same with the mixer's millisecond counter given, for tests.
    bool playAt(std::uint32_t ticksMs);

    // Volume of the sound itself, factor 0..1 of the mixer's maximum.
    void setVolume(float factor);
    // Volume of the channel it plays on; nothing when it never got a channel.
    void setChannelVolume(float factor);
    bool isPlaying() const;
    void stop();
    int channel() const { return playChannel; }

  private:
    void release();
    // The mixer is open and the effect's last channel still plays this chunk.
    bool ownsChannel() const;

    Mix_Chunk* chunk = nullptr;
    int playChannel = -1;
    bool everPlayed = false;
    std::uint32_t lastPlayTicks = 0;
};

// Mixer volume 0..128 of a factor 0..1 (truncated, clamped).
int mixerVolume(float factor);

// Channel and music calls on a closed mixer read freed tables; sounds and music
// outlive the mixer at shut-down, so every such call checks this first.
bool mixerOpen();
