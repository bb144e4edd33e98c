// What the options screen's scene test does not walk through: stored values
// off the lists and steps, and how they show and change.
#include <gtest/gtest.h>

#include <tuple>

#include "app/files/Settings.hpp"
#include "menu/OptionValues.hpp"

namespace {

constexpr int left = -1;
constexpr int right = 1;

OptionLines linesFrom(const std::string& settingsText) {
    Settings store;
    store.parse(settingsText);
    return OptionLines(OptionValues::read(store));
}

}  // namespace

TEST(OptionLines, StoredValuesOffTheListsShowAsStoredAndLowerEndsHold) {
    // An unlisted size shows as stored; the list starts at its first entry,
    // so Right picks the second.
    OptionLines custom = linesFrom("screenwidth\t1920\nscreenheight\t1080\n");
    EXPECT_EQ(custom.text(resolutionLine), "< Resolution: 1920 x 1080 >");
    custom.change(resolutionLine, right);
    EXPECT_EQ(custom.text(resolutionLine), "< Resolution: 1024 x 768 >");

    OptionLines odd = linesFrom("screendepth\t24\nturnspeed\t299.9\nfullscreen\t2\n");
    EXPECT_TRUE(odd.change(screenDepthLine, right)) << "the line still reacts (and clicks)";
    EXPECT_EQ(odd.text(screenDepthLine), "< Screen Depth: 24 Bit >");
    // Whole degrees shown, the fraction cut off rather than rounded.
    EXPECT_EQ(odd.text(turnSpeedLine), "< Turnspeed: 299 Degrees >");
    // A stored 2 shows "Yes" and flips to "No", not to 1.
    EXPECT_EQ(odd.text(fullscreenLine), "< Fullscreen: Yes >");
    odd.change(fullscreenLine, right);
    EXPECT_EQ(odd.text(fullscreenLine), "< Fullscreen: No >");

    OptionLines lines = linesFrom("turnspeed\t100\nmusicvolume\t0\n");
    lines.change(turnSpeedLine, left);
    lines.change(musicVolumeLine, left);
    EXPECT_EQ(lines.values.turnSpeed, 100.0f);
    EXPECT_EQ(lines.values.musicVolume, 0);
    EXPECT_FALSE(lines.change(highscoreNameLine, left));
    EXPECT_FALSE(lines.change(backLine, right));
    EXPECT_FALSE(lines.change(optionLineCount, right));
}

TEST(OptionLines, GhostGoesRoundItsThreeChoices) {
    // Stored value, key, line after it; out of range shows "Off" and steps on.
    const std::tuple<const char*, int, const char*> cases[] = {
        {"", right, "< Ghost: Record >"},
        {"ghost\t2\n", right, "< Ghost: Off >"},
        {"ghost\t0\n", left, "< Ghost: Record >"},
        {"ghost\t7\n", right, "< Ghost: Personal Best >"},
    };
    for (const auto& [stored, direction, shown] : cases) {
        OptionLines lines = linesFrom(stored);
        EXPECT_TRUE(lines.change(ghostLine, direction));
        EXPECT_EQ(lines.text(ghostLine), shown) << stored;
    }
}
