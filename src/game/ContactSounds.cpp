#include "game/ContactSounds.hpp"

#include "app/DataFolder.hpp"

void ContactSounds::load() {
    sounds[index(SoundRequest::Kind::knock)].load(dataPath("sound/plonk.wav"));
    sounds[index(SoundRequest::Kind::brokenBlock)].load(dataPath("sound/crack.wav"));
    sounds[index(SoundRequest::Kind::penalty)].load(dataPath("sound/glass.wav"));
    sounds[index(SoundRequest::Kind::target)].load(dataPath("sound/xylophone.wav"));
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
