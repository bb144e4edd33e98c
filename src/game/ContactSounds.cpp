#include "game/ContactSounds.hpp"

#include <algorithm>

#include "sim/base/DataFolder.hpp"

void ContactSounds::load() {
    sounds[index(Sound::knock)].load(dataPath("sound/plonk.wav"));
    sounds[index(Sound::crack)].load(dataPath("sound/crack.wav"));
    sounds[index(Sound::glass)].load(dataPath("sound/glass.wav"));
    sounds[index(Sound::xylophone)].load(dataPath("sound/xylophone.wav"));
}

// The volume is the whole sound's, so a knock refused by the replay guard
// still sets how loud the knock already playing is.
void ContactSounds::playAt(Sound which, float volume) {
    SoundEffect& effect = sounds[index(which)];
    effect.setVolume(volume);
    effect.play();
}

void ContactSounds::play(const std::vector<ContactEvent>& events) {
    using Kind = ContactEvent::Kind;
    for (const ContactEvent& event : events) {
        switch (event.kind) {
            case Kind::knock:
                playAt(Sound::knock, std::min(event.impactSpeed / fullKnockSpeed, 1.0f));
                break;
            case Kind::blockBroken:
                playAt(Sound::crack, crackVolume);
                break;
            case Kind::targetBroken:
                playAt(Sound::xylophone, xylophoneVolume);
                break;
            case Kind::penalty:
                playAt(Sound::glass, glassVolume);
                break;
            default:
                break;
        }
    }
}
