#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include "TestAudio.hpp"
#include "game/ContactSounds.hpp"

namespace {

// Mixer volume of the chunk the sound last started, -1 when it never started.
int playedVolume(const SoundEffect& sound) {
    if (sound.channel() < 0) {
        return -1;
    }
    return Mix_VolumeChunk(Mix_GetChunk(sound.channel()), -1);
}

ContactEvent event(ContactEvent::Kind kind, float impactSpeed = 0.0f) {
    ContactEvent made{kind};
    made.impactSpeed = impactSpeed;
    return made;
}

}  // namespace

// The real sounds of data/sound/ on the real mixer (dummy driver).
TEST(ContactSounds, EachEventPlaysItsSoundAtItsVolume) {
    TestAudio audio;
    ASSERT_TRUE(audio.isOpen());
    ContactSounds sounds;
    sounds.load();
    using Kind = ContactEvent::Kind;
    using Sound = ContactSounds::Sound;
    // A knock at a quarter of the loudest speed; a switch and the finish
    // have sounds of their own, played by the screen.
    sounds.play({event(Kind::knock, 50.0f), event(Kind::blockBroken), event(Kind::targetBroken),
                 event(Kind::switchTouched), event(Kind::finishReached)});
    EXPECT_EQ(playedVolume(sounds.sound(Sound::knock)), 32);
    EXPECT_EQ(playedVolume(sounds.sound(Sound::crack)), 64);
    EXPECT_EQ(playedVolume(sounds.sound(Sound::xylophone)), 64);
    EXPECT_EQ(playedVolume(sounds.sound(Sound::glass)), -1);

    // A second knock within the replay guard does not start, but its volume
    // is that of the knock already sounding; a knock harder than the loudest
    // plays at full volume.
    const int knockChannel = sounds.sound(Sound::knock).channel();
    sounds.play({event(Kind::knock, 700.0f), event(Kind::penalty)});
    EXPECT_EQ(sounds.sound(Sound::knock).channel(), knockChannel);
    EXPECT_EQ(playedVolume(sounds.sound(Sound::knock)), 128);
    EXPECT_EQ(playedVolume(sounds.sound(Sound::glass)), 128);
}
