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

}  // namespace

// The real sounds of data/sound/ on the real mixer (dummy driver).
TEST(ContactSounds, EachRequestPlaysItsSoundAtItsVolume) {
    TestAudio audio;
    ASSERT_TRUE(audio.isOpen());
    ContactSounds sounds;
    sounds.load();
    using Kind = SoundRequest::Kind;
    sounds.play({{Kind::knock, 0.25f}, {Kind::brokenBlock, 0.5f}, {Kind::target, 0.5f}});
    EXPECT_EQ(playedVolume(sounds.sound(Kind::knock)), 32);
    EXPECT_EQ(playedVolume(sounds.sound(Kind::brokenBlock)), 64);
    EXPECT_EQ(playedVolume(sounds.sound(Kind::target)), 64);
    EXPECT_EQ(playedVolume(sounds.sound(Kind::penalty)), -1);

    // A second knock within the replay guard does not start, but its volume
    // is that of the knock already sounding.
    const int knockChannel = sounds.sound(Kind::knock).channel();
    sounds.play({{Kind::knock, 1.0f}, {Kind::penalty, 1.0f}});
    EXPECT_EQ(sounds.sound(Kind::knock).channel(), knockChannel);
    EXPECT_EQ(playedVolume(sounds.sound(Kind::knock)), 128);
    EXPECT_EQ(playedVolume(sounds.sound(Kind::penalty)), 128);
}
