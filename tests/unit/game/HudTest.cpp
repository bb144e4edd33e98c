#include <gtest/gtest.h>

#include "game/FinishSequence.hpp"
#include "game/GhostBall.hpp"
#include "game/ScoreFont.hpp"

TEST(ScoreFontText, ShowsThreeRoundedDecimalsAndMinutes) {
    struct Case {
        float value;
        const char* shown;
    };
    const Case cases[] = {
        {0.0f, "0.000"},          {7.1236f, "7.124"},     {65.25f, "1:05.250"},
        {600.0f, "10:00.000"},    {59.9996f, "1:00.000"}, {9.9999f, "10.000"},
        {3599.999f, "59:59.999"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScoreFont::shownText(c.value, true), c.shown) << c.value;
    }
    // Without minutes the seconds run on; six significant digits leave fewer
    // real decimals from 1000 s on, and zeros fill up.
    EXPECT_EQ(ScoreFont::shownText(65.25f, false), "65.250");
    EXPECT_EQ(ScoreFont::shownText(1234.5678f, false), "1234.570");
    // Never an exponent, even for a tiny time or a huge one.
    EXPECT_EQ(ScoreFont::fullText(0.00001f, false).find('e'), std::string::npos);
    EXPECT_EQ(ScoreFont::shownText(2.0e6f, false), "2000000.000");
    EXPECT_EQ(ScoreFont::fullText(7.1234f, false), "7.1239000");
}

// The fades and the online phases are met in the play and post-finish
// scene tests.
TEST(FinishSequence, ScoresOncePerLevelAndEqualIsNoNewBest) {
    FinishSequence finish;
    EXPECT_FALSE(finish.advanceFade(0.1f, true)) << "no fade before the finish";
    ASSERT_TRUE(finish.score(30.0f, 30.0f));
    EXPECT_FALSE(finish.newPersonalBest) << "equalling the best is no new best";
    EXPECT_EQ(finish.phase, FinishPhase::banner);
    EXPECT_FALSE(finish.score(40.0f, 30.0f)) << "scoring happens once per level";
    EXPECT_FALSE(finish.newPersonalBest);
    finish.reset();
    EXPECT_TRUE(finish.score(40.0f, 30.0f));
    EXPECT_TRUE(finish.newPersonalBest);
}

// The sign says who leads; a gap that rounds to nothing has none.
TEST(GhostGapText, SignedHundredthsWhileRacingThousandthsAtTheFinish) {
    struct Case {
        float seconds;
        bool atFinish;
        const char* shown;
    };
    for (const Case& c :
         {Case{0.0f, false, "0.00"}, Case{0.004f, false, "0.00"}, Case{-0.004f, false, "0.00"},
          Case{0.25f, false, "+0.25"}, Case{-0.4f, false, "-0.40"}, Case{-12.345f, false, "-12.35"},
          Case{65.5f, false, "+65.50"}, Case{-0.25f, true, "-0.250"}, Case{0.0f, true, "0.000"},
          Case{1.0006f, true, "+1.001"}}) {
        EXPECT_EQ(ghostGapText(c.seconds, c.atFinish), c.shown) << c.seconds;
    }
}
