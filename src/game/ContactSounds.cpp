#include "game/ContactSounds.hpp"

void ContactSounds::load() {
    sounds[index(SoundRequest::Kind::knock)].load("data/sound/plonk.wav");
    sounds[index(SoundRequest::Kind::brokenBlock)].load("data/sound/crack.wav");
    sounds[index(SoundRequest::Kind::penalty)].load("data/sound/glass.wav");
    sounds[index(SoundRequest::Kind::target)].load("data/sound/xylophone.wav");
}

// The volume is the whole sound's, so a knock refused by the replay guard
// still sets how loud the knock already playing is.
void ContactSounds::play(const std::vector<SoundRequest>& requests) {
    for (const SoundRequest& request : requests) {
        SoundEffect& effect = sounds[index(request.kind)];
        effect.setVolume(request.volume);
        effect.play();
    }
}
