#pragma once

#include <array>
#include <vector>

#include "app/audio/SoundEffect.hpp"
#include "sim/level/PlayState.hpp"

// The sounds of the contact rules, owned by the play screen: the rules only
// report what happened (ContactEvent), and the screen plays a frame's events
// here after the simulation has stepped.
class ContactSounds {
  public:
    enum class Sound { knock, crack, glass, xylophone };

    static constexpr float fullKnockSpeed = 200.0f;  // units per second: a knock at full volume
    // Volumes of the other sounds, factor of each sound's full volume.
    static constexpr float crackVolume = 0.5f;
    static constexpr float xylophoneVolume = 0.5f;
    static constexpr float glassVolume = 1.0f;

    // Loads plonk, crack, glass and xylophone from data/sound/; a missing
    // sound stays silent.
    void load();
    // Each event's sound in the order they happened: a knock as loud as it
    // was hard, a broken block's crack, a broken target's xylophone, a
    // penalty's glass. Switches and the finish have sounds of their own.
    void play(const std::vector<ContactEvent>& events);
    const SoundEffect& sound(Sound which) const { return sounds[index(which)]; }

  private:
    static std::size_t index(Sound which) { return static_cast<std::size_t>(which); }
    void playAt(Sound which, float volume);

    std::array<SoundEffect, 4> sounds;  // by Sound
};
