#include <gtest/gtest.h>

#include "app/Settings.hpp"
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

TEST(OptionLines, DefaultsReadAsTheScreenShowsThem) {
    const OptionLines lines{OptionValues{}};
    const std::vector<std::string> expected{"< Resolution: 1024 x 768 >",
                                            "< Screen Depth: 32 Bit >",
                                            "< Fullscreen: Yes >",
                                            "< Turnspeed: 280 Degrees >",
                                            "< Shift Turnspeed: 140 Degrees >",
                                            "< Ctrl Turnspeed: 420 Degrees >",
                                            "< Submit Scores Online: Yes >",
                                            "Set Highscore Name",
                                            "< Invert Controls: No >",
                                            "< Music Volume: 7 >",
                                            "< Draw Clouds: Yes >",
                                            "Back"};
    for (int line = 0; line < optionLineCount; ++line) {
        EXPECT_EQ(lines.text(line), expected[static_cast<std::size_t>(line)]) << "line " << line;
    }
}

TEST(OptionLines, ResolutionWrapsBothWaysAndAnUnlistedSizeShowsAsStored) {
    OptionLines lines = linesFrom("screenwidth\t1280\nscreenheight\t1024\n");
    EXPECT_TRUE(lines.change(resolutionLine, right));
    EXPECT_EQ(lines.text(resolutionLine), "< Resolution: 800 x 600 >");
    EXPECT_TRUE(lines.change(resolutionLine, left));
    EXPECT_EQ(lines.text(resolutionLine), "< Resolution: 1280 x 1024 >");
    EXPECT_TRUE(lines.change(resolutionLine, left));
    EXPECT_EQ(lines.values.screenWidth, 1024);
    EXPECT_EQ(lines.values.screenHeight, 768);

    OptionLines custom = linesFrom("screenwidth\t1920\nscreenheight\t1080\n");
    EXPECT_EQ(custom.text(resolutionLine), "< Resolution: 1920 x 1080 >");
    // The list starts at its first entry, so Right picks the second.
    custom.change(resolutionLine, right);
    EXPECT_EQ(custom.text(resolutionLine), "< Resolution: 1024 x 768 >");
}

TEST(OptionLines, DepthSwapsOnlyBetweenSixteenAndThirtyTwo) {
    OptionLines lines{OptionValues{}};
    EXPECT_TRUE(lines.change(screenDepthLine, left));
    EXPECT_EQ(lines.text(screenDepthLine), "< Screen Depth: 16 Bit >");
    EXPECT_TRUE(lines.change(screenDepthLine, left));
    EXPECT_EQ(lines.values.screenDepth, 32);
    OptionLines odd = linesFrom("screendepth\t24\n");
    EXPECT_TRUE(odd.change(screenDepthLine, right)) << "the line still reacts (and clicks)";
    EXPECT_EQ(odd.text(screenDepthLine), "< Screen Depth: 24 Bit >");
}

TEST(OptionLines, SpeedsStepByTwentyBetweenOneHundredAndSevenHundredTwenty) {
    OptionLines lines{OptionValues{}};
    for (int i = 0; i < 9; ++i) {
        lines.change(turnSpeedLine, left);
    }
    EXPECT_EQ(lines.values.turnSpeed, 100.0f);
    lines.change(turnSpeedLine, left);
    EXPECT_EQ(lines.text(turnSpeedLine), "< Turnspeed: 100 Degrees >");

    OptionLines high = linesFrom("shiftspeed\t700\n");
    high.change(shiftSpeedLine, right);
    EXPECT_EQ(high.values.shiftSpeed, 720.0f);
    high.change(shiftSpeedLine, right);
    EXPECT_EQ(high.text(shiftSpeedLine), "< Shift Turnspeed: 720 Degrees >");

    OptionLines odd = linesFrom("ctrlspeed\t105\n");
    odd.change(controlSpeedLine, left);
    EXPECT_EQ(odd.values.controlSpeed, 100.0f);
    odd.change(controlSpeedLine, right);
    EXPECT_EQ(odd.values.controlSpeed, 120.0f);
    // Whole degrees shown, the fraction cut off rather than rounded.
    OptionLines fraction = linesFrom("turnspeed\t299.9\n");
    EXPECT_EQ(fraction.text(turnSpeedLine), "< Turnspeed: 299 Degrees >");
}

TEST(OptionLines, OnOffLinesFlipWithEitherKeyAndVolumeClampsAtBothEnds) {
    OptionLines lines{OptionValues{}};
    for (int line : {fullscreenLine, submitScoresLine, invertControlsLine, drawCloudsLine}) {
        const std::string before = lines.text(line);
        EXPECT_TRUE(lines.change(line, left));
        EXPECT_NE(lines.text(line), before);
        EXPECT_TRUE(lines.change(line, right));
        EXPECT_EQ(lines.text(line), before);
    }
    // A stored 2 shows "Yes" and must flip to "No", not to 1.
    OptionLines odd = linesFrom("fullscreen\t2\n");
    odd.change(fullscreenLine, right);
    EXPECT_EQ(odd.text(fullscreenLine), "< Fullscreen: No >");

    OptionLines loud = linesFrom("musicvolume\t9\n");
    loud.change(musicVolumeLine, right);
    EXPECT_EQ(loud.text(musicVolumeLine), "< Music Volume: 9 >");
    loud.change(musicVolumeLine, left);
    EXPECT_EQ(loud.values.musicVolume, 8);
    OptionLines quiet = linesFrom("musicvolume\t0\n");
    quiet.change(musicVolumeLine, left);
    EXPECT_EQ(quiet.values.musicVolume, 0);
}

TEST(OptionLines, NameAndBackLinesDoNotReactToLeftOrRight) {
    OptionLines lines{OptionValues{}};
    EXPECT_FALSE(lines.change(highscoreNameLine, left));
    EXPECT_FALSE(lines.change(backLine, right));
    EXPECT_FALSE(lines.change(optionLineCount, right));
}

TEST(OptionValues, WriteStoresEveryValueUnderItsKey) {
    OptionValues values;
    values.screenWidth = 1024;
    values.screenHeight = 768;
    values.screenDepth = 16;
    values.fullscreen = 0;
    values.submitScores = 0;
    values.turnSpeed = 300.0f;
    values.shiftSpeed = 120.0f;
    values.controlSpeed = 700.5f;
    values.invertControls = 1;
    values.musicVolume = 3;
    values.drawClouds = 0;
    Settings store;
    values.write(store);
    EXPECT_EQ(store.format().substr(store.format().find("ctrlspeed")),
              "ctrlspeed\t700.5\ndrawclouds\t0\nfullscreen\t0\ninvertcontrols\t1\n"
              "musicvolume\t3\nscreendepth\t16\nscreenheight\t768\nscreenwidth\t1024\n"
              "shiftspeed\t120\nsubmitscores\t0\nturnspeed\t300\n");
    const OptionValues back = OptionValues::read(store);
    EXPECT_EQ(back.controlSpeed, 700.5f);
    EXPECT_EQ(back.screenDepth, 16);
}
