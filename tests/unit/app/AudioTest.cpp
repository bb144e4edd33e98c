#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <set>

#include "TempFolder.hpp"
#include "TestAudio.hpp"
#include "app/audio/MusicPlayer.hpp"
#include "app/audio/SoundEffect.hpp"
#include "app/platform/Random.hpp"

class AudioTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(audio.isOpen()) << "dummy audio driver must open"; }

    std::string tone(const std::string& name, double seconds) {
        const std::string path = folder.file(name);
        writeFileBytes(path, makeToneWav(seconds));
        return path;
    }

    TestAudio audio;
    TempFolder folder;
};

TEST_F(AudioTest, ReplayGuardRefusesWithin50MillisecondsOfTheSameEffectOnly) {
    SoundEffect effect, other;
    ASSERT_TRUE(effect.load(tone("knock.wav", 0.5)));
    ASSERT_TRUE(other.load(tone("other.wav", 0.3)));
    // Right after start, and two effects in the same millisecond.
    EXPECT_TRUE(other.playAt(3));
    EXPECT_TRUE(effect.playAt(3));
    EXPECT_NE(effect.channel(), other.channel());
    EXPECT_TRUE(effect.playAt(1000));
    EXPECT_FALSE(effect.playAt(1030));
    EXPECT_FALSE(effect.playAt(1049));
    EXPECT_TRUE(effect.playAt(1060));
    // The refused play did not move the guard: 50 ms after 1060, not after 1049.
    EXPECT_FALSE(effect.playAt(1100));
    EXPECT_TRUE(effect.playAt(1110));
    // Counter wrap-around after 49 days does not lock the effect.
    SoundEffect wrapping;
    ASSERT_TRUE(wrapping.load(tone("wrap.wav", 0.1)));
    EXPECT_TRUE(wrapping.playAt(0xFFFFFFF0u));
    EXPECT_FALSE(wrapping.playAt(10u));
    EXPECT_TRUE(wrapping.playAt(50u));
}

TEST_F(AudioTest, MissingBrokenOrUnplacedEffectsStaySilentAndAreNotStarted) {
    SoundEffect missing;
    EXPECT_FALSE(missing.load(folder.file("none.wav")));
    EXPECT_FALSE(missing.play());
    EXPECT_EQ(missing.channel(), -1);
    missing.setChannelVolume(1.0f);  // must not touch every channel

    writeFileBytes(folder.file("empty.wav"), "");
    writeFileBytes(folder.file("junk.wav"), "RIFF1234WAVEjunkjunkjunk");
    SoundEffect empty, junk;
    EXPECT_FALSE(empty.load(folder.file("empty.wav")));
    EXPECT_FALSE(junk.load(folder.file("junk.wav")));
    EXPECT_FALSE(junk.play());

    // With every channel busy an effect stays silent and is not started.
    Mix_AllocateChannels(2);
    std::vector<SoundEffect> effects(3);
    for (std::size_t i = 0; i < effects.size(); ++i) {
        ASSERT_TRUE(effects[i].load(tone("e" + std::to_string(i) + ".wav", 1.0)));
    }
    EXPECT_TRUE(effects[0].playAt(100));
    EXPECT_TRUE(effects[1].playAt(100));
    EXPECT_FALSE(effects[2].playAt(100));
    Mix_AllocateChannels(32);
}

TEST_F(AudioTest, GamePlaylistStartsEachNewPieceButNeverTheFirstFirstNorOneTwice) {
    for (std::uint32_t seed = 1; seed <= 10; ++seed) {
        Random::seed(seed);
        MusicPlayer player;
        for (int i = 0; i < 3; ++i) {
            player.addSong(tone("song" + std::to_string(i) + ".wav", 0.05), 1.0f);
        }
        player.start();
        EXPECT_NE(player.currentIndex(), 0) << "seed " << seed;
        int last = player.currentIndex();
        for (int change = 0; change < 4; ++change) {
            MusicPiece::stopStream();
            player.update();
            EXPECT_NE(player.currentIndex(), last);
            EXPECT_TRUE(MusicPiece::streamPlaying()) << "seed " << seed << ", change " << change;
            last = player.currentIndex();
        }
        player.stop();
    }
}

TEST_F(AudioTest, APieceMissingKeepsItsPlaceTheVolumeReachesTheStreamAndASinglePieceRestarts) {
    MusicPlayer player;
    player.addSong(folder.file("missing.ogg"), 1.0f);
    player.addSong(tone("real.wav", 1.0), 1.0f);
    ASSERT_EQ(player.songCount(), 2u);
    EXPECT_FALSE(player.song(0).loaded());
    player.volume = 7.0f / 9.0f;
    player.start();
    EXPECT_EQ(player.currentIndex(), 1);
    ASSERT_TRUE(player.isPlaying() && MusicPiece::streamPlaying());
    EXPECT_EQ(MusicPiece::streamVolume(), 99);
    player.volume = 0.0f;
    player.update();
    EXPECT_EQ(MusicPiece::streamVolume(), 0);
    // An idle player leaves the stream alone.
    MusicPlayer idle;
    idle.addSong(tone("other.wav", 1.0), 1.0f);
    idle.stop();
    EXPECT_TRUE(MusicPiece::streamPlaying());
    player.stop();
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(MusicPiece::streamPlaying());

    // The menu has one piece, which plays again and again.
    MusicPlayer menu;
    menu.addSong(tone("intro.wav", 0.05), 1.0f);
    menu.start();
    EXPECT_EQ(menu.currentIndex(), 0);
    MusicPiece::stopStream();
    menu.update();
    EXPECT_TRUE(MusicPiece::streamPlaying());
    EXPECT_EQ(menu.currentIndex(), 0);
}

TEST(AudioShutdown, SoundsOutliveTheMixerSafely) {
    TempFolder folder;
    writeFileBytes(folder.file("long.wav"), makeToneWav(2.0));
    SoundEffect effect;
    MusicPlayer music;
    {
        TestAudio audio;
        ASSERT_TRUE(audio.isOpen());
        ASSERT_TRUE(effect.load(folder.file("long.wav")));
        music.addSong(folder.file("long.wav"), 1.0f);
        music.start();
        EXPECT_TRUE(effect.playAt(100));
        EXPECT_TRUE(effect.isPlaying());
    }
    // The game closes the mixer before its screens and playlists are gone.
    EXPECT_FALSE(effect.isPlaying());
    EXPECT_FALSE(effect.playAt(5000));
    effect.setChannelVolume(0.5f);
    effect.stop();
    music.update();
    music.stop();
}
