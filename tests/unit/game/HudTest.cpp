#include <gtest/gtest.h>

#include <cmath>

#include "game/FinishSequence.hpp"
#include "game/ScoreFont.hpp"
#include "game/StartSequence.hpp"

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

TEST(ScoreFontLayout, GlyphsStandEdgeToEdgeByTheirWidths) {
    std::array<float, ScoreFont::glyphCount> widths{};
    widths.fill(40.0f);
    widths[1] = 20.0f;
    widths[ScoreFont::dotGlyph] = 10.0f;
    widths[ScoreFont::colonGlyph] = 12.0f;
    const auto placed = ScoreFont::layout("1:08.5", 180.0f, widths);
    ASSERT_EQ(placed.size(), 6u);
    EXPECT_EQ(placed[0].glyph, 1);
    EXPECT_FLOAT_EQ(placed[0].centreX, 190.0f) << "the first glyph's left edge is at x";
    EXPECT_EQ(placed[1].glyph, ScoreFont::colonGlyph);
    EXPECT_FLOAT_EQ(placed[1].centreX, 206.0f);
    EXPECT_EQ(placed[4].glyph, ScoreFont::dotGlyph);
    EXPECT_FLOAT_EQ(placed[5].centreX, 322.0f);
    // A narrow 1 in place of an 8 moves what follows to the left.
    const auto narrow = ScoreFont::layout("1:01.5", 180.0f, widths);
    EXPECT_FLOAT_EQ(narrow[5].centreX, placed[5].centreX - 20.0f);
    // Missing glyph pictures take no room.
    widths.fill(0.0f);
    for (const auto& glyph : ScoreFont::layout("12.345", 180.0f, widths)) {
        EXPECT_FLOAT_EQ(glyph.centreX, 180.0f);
    }
}

TEST(StartSequence, FadeInAlphaAndThumbnailFade) {
    StartSequence start;
    EXPECT_FALSE(start.advanceIntro(0.5f));
    EXPECT_EQ(start.introAlpha(), 191);  // 1.5 x 0.5 x 255, truncated
    EXPECT_FALSE(start.advanceIntro(1.4f));
    EXPECT_TRUE(start.advanceIntro(0.2f)) << "the 3 shows when the fade ends";
    EXPECT_EQ(start.introAlpha(), 0);
    EXPECT_FALSE(start.advanceIntro(0.2f)) << "and only once";

    // The thumbnail is held while the countdown runs and fades in 1.5 s after.
    start.thumbnailFade = 0.2f;
    start.countdownCue(0.5f);
    EXPECT_EQ(start.thumbnailAlpha(), 192);
    start.advanceThumbnail(1.55f);
    EXPECT_EQ(start.thumbnailAlpha(), -1);
    start.countdownCue(0.0f);
    EXPECT_EQ(start.thumbnailAlpha(), -1) << "no countdown, no thumbnail again";
}

TEST(FinishSequence, PhasesWithAndWithoutOnlineScores) {
    // Offline: after the banner a plain two-second fade to black.
    FinishSequence offline;
    EXPECT_FALSE(offline.advanceFade(0.1f, true)) << "no fade before the finish";
    ASSERT_TRUE(offline.score(-1.0f, 30.0f));
    offline.dismissBanner(false);
    EXPECT_EQ(offline.phase, FinishPhase::leaving);
    int frames = 1;
    while (!offline.advanceFade(0.1f, false)) {
        ++frames;
        ASSERT_LT(frames, 100);
    }
    EXPECT_EQ(frames, 20);
    EXPECT_EQ(offline.endFadeAlpha(), 255);

    // Online: the fade rests at half darkness; the player may go on only
    // from the table, whatever is held before.
    FinishSequence online;
    ASSERT_TRUE(online.score(-1.0f, 30.0f));
    EXPECT_TRUE(online.newPersonalBest);
    EXPECT_EQ(online.phase, FinishPhase::banner);
    online.dismissBanner(true);
    for (int i = 0; i < 40; ++i) {
        EXPECT_FALSE(online.advanceFade(0.1f, true));
    }
    EXPECT_EQ(online.endFade, 1.0f);
    EXPECT_EQ(online.endFadeAlpha(), 127);
    EXPECT_EQ(online.phase, FinishPhase::submitting);
    online.phase = FinishPhase::fetching;
    EXPECT_FALSE(online.advanceFade(0.1f, true));
    EXPECT_EQ(online.phase, FinishPhase::fetching);
    online.phase = FinishPhase::showingTable;
    EXPECT_FALSE(online.advanceFade(0.1f, false));
    EXPECT_FALSE(online.advanceFade(0.1f, true));
    EXPECT_EQ(online.phase, FinishPhase::leaving);
    frames = 0;
    while (!online.advanceFade(0.1f, false)) {
        ++frames;
        ASSERT_LT(frames, 100);
    }
    EXPECT_EQ(online.endFade, 0.0f);

    // Scoring happens once per level; equalling the best is no new best.
    FinishSequence equal;
    EXPECT_TRUE(equal.score(30.0f, 30.0f));
    EXPECT_FALSE(equal.newPersonalBest);
    EXPECT_FALSE(equal.score(40.0f, 30.0f));
    EXPECT_FALSE(equal.newPersonalBest);
    equal.reset();
    EXPECT_TRUE(equal.score(40.0f, 30.0f));
    EXPECT_TRUE(equal.newPersonalBest);
}
