#pragma once

#include <array>
#include <vector>

#include "app/SoundEffect.hpp"
#include "level/PlayState.hpp"

// The sounds of the contact rules, owned by the play screen: the rules only
// ask for them (SoundRequest), and the screen plays a frame's requests here
// after the simulation has stepped.
class ContactSounds {
  public:
    // Loads plonk, crack, glass and xylophone from data/sound/; a missing
    // sound stays silent.
    void load();
    // In the order asked for, each at the volume its request gives.
    void play(const std::vector<SoundRequest>& requests);
    const SoundEffect& sound(SoundRequest::Kind kind) const { return sounds[index(kind)]; }

  private:
    static std::size_t index(SoundRequest::Kind kind) { return static_cast<std::size_t>(kind); }

    std::array<SoundEffect, 4> sounds;  // by SoundRequest::Kind
};
