// The sound effects of data/sound/ as the game gets them: decoded by the mixer
// from memory. Every file must be CD-rate 16-bit PCM, start and end at silence
// (no click when a channel starts or stops), never reach full scale, and be
// short enough for how often the game plays it.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <SDL_audio.h>

#include "AudioHelpers.hpp"

namespace {

struct EffectRule {
    const char* file;
    double minSeconds;
    double maxSeconds;
    // The loudest moment must come this soon: an effect answers an event.
    double peakWithin;
};

// plonk is the knock of every contact and the menu click, click the countdown
// tick; both repeat quickly. The fanfares may take their time.
const std::vector<EffectRule> effectRules = {
    {"plonk.wav", 0.05, 0.5, 0.02}, {"crack.wav", 0.2, 1.5, 0.05},
    {"glass.wav", 0.3, 2.0, 0.05},  {"xylophone.wav", 0.2, 2.0, 0.03},
    {"click.wav", 0.05, 0.4, 0.02}, {"horn.wav", 0.5, 2.0, 0.5},
    {"pb.wav", 1.0, 4.0, 2.5},      {"finish.wav", 1.0, 4.0, 2.0},
    {"beam.wav", 0.1, 1.0, 0.3},
};

// -1 dBFS: headroom so nothing clips when the mixer adds channels.
constexpr double peakLimit = 0.891;
// A frame at the very edge may hold at most this: no audible click.
constexpr double edgeLimit = 0.002;

class SoundEffectFiles : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { mixer = std::make_unique<MixerSession>(); }
    static void TearDownTestSuite() { mixer.reset(); }
    static std::unique_ptr<MixerSession> mixer;
};
std::unique_ptr<MixerSession> SoundEffectFiles::mixer;

std::string soundPath(const char* file) {
    return std::string("data/sound/") + file;
}

}  // namespace

TEST_F(SoundEffectFiles, AreSixteenBitPcmAtCdRate) {
    for (const EffectRule& rule : effectRules) {
        SCOPED_TRACE(rule.file);
        const auto format = readWavFormat(soundPath(rule.file));
        ASSERT_TRUE(format.has_value()) << "not a RIFF/WAVE file with a format chunk";
        EXPECT_EQ(format->encoding, 1) << "not integer PCM";
        EXPECT_EQ(format->bitsPerSample, 16);
        EXPECT_EQ(format->sampleRate, 44100);
        EXPECT_TRUE(format->channels == 1 || format->channels == 2);
    }
}

TEST_F(SoundEffectFiles, DecodeCleanlyThroughTheMixer) {
    ASSERT_TRUE(mixer->open()) << "the dummy audio device did not open";
    // The game's format: decoded samples are then the file's own samples.
    ASSERT_EQ(mixer->frequency, 44100);
    ASSERT_EQ(mixer->format, AUDIO_S16LSB);
    ASSERT_EQ(mixer->channels, 2);
    for (const EffectRule& rule : effectRules) {
        SCOPED_TRACE(rule.file);
        const auto sound = decodeWithMixer(soundPath(rule.file));
        ASSERT_TRUE(sound.has_value()) << "the mixer cannot decode it";
        EXPECT_GE(sound->seconds(), rule.minSeconds);
        EXPECT_LE(sound->seconds(), rule.maxSeconds);
        EXPECT_LT(sound->peak(), peakLimit) << "peak " << dbfs(sound->peak()) << " dBFS";
        EXPECT_GT(dbfs(sound->rms()), -40.0) << "too quiet to be heard over the music";
        EXPECT_LE(sound->frameLevel(0), edgeLimit) << "starts with a click";
        EXPECT_LE(sound->frameLevel(sound->frames() - 1), edgeLimit) << "ends with a click";

        std::size_t loudest = 0;
        for (std::size_t i = 0; i < sound->frames(); ++i) {
            if (sound->frameLevel(i) > sound->frameLevel(loudest)) {
                loudest = i;
            }
        }
        EXPECT_LE(loudest / 44100.0, rule.peakWithin) << "the sound comes too late";
        // It dies away rather than being cut off: the last 20 ms are far below
        // the loudest moment.
        const std::size_t tail = 882;
        EXPECT_LT(sound->rms(sound->frames() - tail, sound->frames()), sound->peak() * 0.05);
    }
}

TEST_F(SoundEffectFiles, StayWithinTheirShareOfTheDataBudget) {
    std::uintmax_t total = 0;
    for (const EffectRule& rule : effectRules) {
        total += std::filesystem::file_size(soundPath(rule.file));
    }
    EXPECT_LT(total, 4u * 1024u * 1024u);
}
