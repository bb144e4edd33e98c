#include <gtest/gtest.h>

#include "app/platform/ProgramObjects.hpp"
#include "game/PersonalBest.hpp"
#include "sim/run/ScoreText.hpp"

TEST(PersonalBest, StoredAsScoreTextUnderTheModeAndLevelAndOnlyAStrictlyFasterTimeBeatsIt) {
    EXPECT_EQ(personalBestKey(puzzleMode, 20057), "_ 2 20057");
    const std::string hash(64, 'e');
    EXPECT_EQ(personalBestKey(raceMode, LevelIdentity::ofFile(hash)), "_ 1 " + hash);
    settings().erase("_ 1 250");
    EXPECT_EQ(readPersonalBest(raceMode, 250), -1.0f);
    EXPECT_FALSE(settings().contains("_ 1 250")) << "reading adds no entry";

    storePersonalBest(raceMode, 250, 65.0f);
    EXPECT_EQ(settings().getString("_ 1 250"), encodeTime(65.0f));
    EXPECT_EQ(readPersonalBest(raceMode, 250), 65.0f);
    EXPECT_EQ(readPersonalBest(puzzleMode, 250), -1.0f) << "modes keep their own bests";

    // Broken entries read as "none", so the next finish overwrites them.
    for (const char* broken : {"", "7", "ab", "x 123", "  "}) {
        settings().setString("_ 1 275", broken);
        EXPECT_EQ(readPersonalBest(raceMode, 275), -1.0f) << '"' << broken << '"';
    }
    settings().erase("_ 1 250");
    settings().erase("_ 1 275");

    EXPECT_TRUE(beatsPersonalBest(-1.0f, 500.0f));
    EXPECT_TRUE(beatsPersonalBest(30.0f, 29.999f));
    EXPECT_FALSE(beatsPersonalBest(30.0f, 30.0f));
    // A run as fast as the stored best in every stored digit is no new best,
    // even where the clock has more digits than the settings keep.
    const float clock = 0.51666665f;
    const float stored = decodeTime(encodeTime(clock));
    ASSERT_NE(stored, clock);
    EXPECT_FALSE(beatsPersonalBest(stored, clock));
    EXPECT_TRUE(beatsPersonalBest(stored, clock - 0.00001f));
}
