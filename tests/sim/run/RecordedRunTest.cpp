#include <gtest/gtest.h>

#include <string>

#include "TempFolder.hpp"
#include "sim/play/FrameTicks.hpp"
#include "sim/run/RecordedRun.hpp"
#include "sim/run/RunText.hpp"
#include "sim/run/RunVerification.hpp"

namespace {

const float frame17 = FrameTicks::seconds(17);

RecordedRun sampleRun() {
    RecordedRun run;
    run.levelName = "The Labyrinth";
    run.levelFile = "levels/TheLabyrinth.tmx";
    run.levelId = 20000;
    run.levelSha256 = std::string(64, 'c');
    run.physicsVersion = 3;
    run.turnSpeeds = {300.5f, 100.0f, 720.0f, true};
    run.mode = puzzleMode;
    run.finishMilliseconds = 61234;
    for (int i = 0; i < 3; ++i) {
        run.addFrame(frame17);
    }
    const PlayInput turnFast[] = {PlayInput::pressed(PlayKey::leftControl, false, true),
                                  PlayInput::pressed(PlayKey::left, false, true)};
    run.addFrame(frame17, turnFast);
    run.addFrame(frame17);
    const PlayInput mixed[] = {PlayInput::pressed(PlayKey::leftShift, true, true),
                               PlayInput::released(PlayKey::leftControl, true, false),
                               PlayInput::pressed(PlayKey::space, true, false)};
    run.addFrame(frame17, mixed);
    // A frame of another length must not join the frames of 17 ticks before it.
    run.addFrame(FrameTicks::seconds(256));
    const PlayInput enter[] = {PlayInput::released(PlayKey::enter),
                               PlayInput::pressed(PlayKey::other, true)};
    run.addFrame(frame17, enter);
    const PlayInput pad[] = {PlayInput::padTurn(-62.5f), PlayInput::padTurn(0.1234567f)};
    run.addFrame(frame17, pad);
    return run;
}

bool sameFrames(const RecordedRun& a, const RecordedRun& b) {
    return a.frameTimes == b.frameTimes && a.inputs == b.inputs;
}

std::string header(const std::string& frames, int version = 1) {
    return "rollavortex-run " + std::to_string(version) +
           "\nlevel: L\nfile: f.tmx\nmode: 1\ntime-ms: 5\n" + frames;
}

std::string parseError(const std::string& text) {
    RecordedRun run;
    std::string error;
    EXPECT_FALSE(parseRun(text, run, error)) << text;
    return error;
}

}  // namespace

TEST(RunText, WholeTicksRoundTripInVersionThreeKeepingEveryInputAndInFiles) {
    const RecordedRun run = sampleRun();
    const std::string text = formatRun(run);
    RecordedRun back;
    std::string error;
    ASSERT_TRUE(parseRun(text, back, error)) << error;
    EXPECT_EQ(back.levelFile, run.levelFile);
    EXPECT_EQ(back.finishMilliseconds, run.finishMilliseconds);
    EXPECT_TRUE(sameFrames(back, run));
    EXPECT_EQ(text.rfind("rollavortex-run 3\n", 0), 0u) << text;
    EXPECT_EQ(text.find('#'), std::string::npos) << "the canonical text has no comments";
    // Empty frames of the same time share a line: 3 empty, then 1 + the
    // empty one after it.
    EXPECT_NE(text.find("\n3 17\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n2 17 +LControl/c +Left/c\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n1 256\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n1 17 ~-62.5 ~0.1234567\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" +Other/s\n"), std::string::npos) << "a key that only sets modifiers";
    // Every header field (level id and hash, physics, turn speeds) reads back.
    EXPECT_EQ(formatRun(back), text);

    // A file is written whole and read back.
    TempFolder folder;
    ASSERT_TRUE(writeRunFile(folder.file("sample.run"), run));
    ASSERT_TRUE(readRunFile(folder.file("sample.run"), back, error)) << error;
    EXPECT_TRUE(sameFrames(back, run));
    EXPECT_FALSE(readRunFile(folder.file("missing.run"), back, error));
    EXPECT_NE(error.find("cannot read"), std::string::npos);
    EXPECT_FALSE(writeRunFile(folder.file("no/such/folder/x.run"), run));
    // The finish time's milliseconds are rounded to the nearest.
    EXPECT_EQ(raceMilliseconds(12.3454f), 12345);
    EXPECT_EQ(raceMilliseconds(12.3456f), 12346);
}

// Runs of older games, whose frames were any seconds, keep every bit.
TEST(RunText, OddFrameTimesFallBackToSecondsAndOldVersionsStillRead) {
    RecordedRun run = sampleRun();
    run.frameTimes[6] = 0.0123456789f;
    const std::string text = formatRun(run);
    EXPECT_EQ(text.rfind("rollavortex-run 2\n", 0), 0u) << text;
    EXPECT_NE(text.find("\n3 0.016601562\n"), std::string::npos) << text;
    RecordedRun back;
    std::string error;
    ASSERT_TRUE(parseRun(text, back, error)) << error;
    EXPECT_TRUE(sameFrames(back, run));

    ASSERT_TRUE(
        parseRun("# made by hand\r\n\r\nrollavortex-run 1\r\nlevel: A B\r\nmode: 2\r\n"
                 "frames: 4\r\n# the countdown\r\n3 0.5\r\n1 0.25 +Right/s -Right\r\n",
                 back, error))
        << error;
    EXPECT_EQ(back.levelName, "A B");
    EXPECT_EQ(back.finishMilliseconds, -1);
    ASSERT_EQ(back.frameCount(), 4u);
    const RecordedInput last[] = {{3, PlayInput::pressed(PlayKey::right, true)},
                                  {3, PlayInput::released(PlayKey::right)}};
    EXPECT_TRUE(std::equal(back.inputs.begin(), back.inputs.end(), last, last + 2));
    EXPECT_EQ(back.inputsOfFrame(3).size(), 2u);
    EXPECT_TRUE(back.inputsOfFrame(2).empty());
    EXPECT_EQ(back.physicsVersion, 0);
    EXPECT_EQ(back.turnSpeeds.turn, TurnSpeeds().turn);
}

// Bounds are checked before anything is allocated for them, and nothing a
// stranger wrote is echoed whole.
TEST(RunText, BrokenOrOutOfBoundTextIsRefusedWithItsLineAndLeavesTheRunAlone) {
    const std::string limit = std::to_string(RecordedRun::maxFrames);
    const std::string longWord(5000, 'x');
    std::string presses;
    for (int i = 0; i < 257; ++i) {
        presses += " +Up";
    }
    const std::pair<std::string, std::string> cases[] = {
        {"", "line 1: not a recorded run"},
        {"rollavortex-run 4\n", "line 1: not a recorded run"},
        {header("1 0.1 +Left/ss\n"), "line 6: unknown input '+Left/ss'"},
        {header("1 0.1 *Left\n"), "line 6: unknown input"},
        {header("1 0.1 +A\n"), "line 6: unknown input"},
        {header("1 0.1 ~100.5\n"), "line 6: unknown input"},
        {header("1 0.1 ~nan\n"), "line 6: unknown input"},
        {header("1 0.1 +" + longWord + "\n"),
         "unknown input '+xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...'"},
        {header("0 0.1\n"), "line 6: a frame line"},
        {header("2\n"), "line 6"},
        {header("1 nan\n"), "line 6: frame time must be seconds from 0 to 1"},
        {header("1 1.5\n"), "line 6: frame time must"},
        {header("1 0.1s\n"), "line 6: frame time must"},
        {header("1 0.5\n", 3), "line 6: frame time must"},
        {header("1 257\n", 3), "line 6: frame time must be a whole number of ticks from 0 to 256"},
        {header("1 -1\n", 3), "line 6: frame time must"},
        {header("1 17" + presses + "\n", 3), "more than 256 inputs"},
        {"rollavortex-run 1\nmode: 3\n", "line 2: mode"},
        {"rollavortex-run 1\ntime-ms: soon\n", "line 2"},
        {"rollavortex-run 1\ntime-ms: 1000000000\n", "line 2: time-ms"},
        {"rollavortex-run 1\ncolour: red\n", "unknown field 'colour'"},
        {"rollavortex-run 2\nturn-speeds: 3e38 3e38 3e38\n", "line 2: turn-speeds"},
        {"rollavortex-run 2\nturn-speeds: 280 140 721\n", "from 100 to 720"},
        {"rollavortex-run 2\nturn-speeds: 280 99.9 420\n", "from 100 to 720"},
        {"rollavortex-run 2\ninverted-controls: 2\n", "inverted-controls"},
        {"rollavortex-run 2\nlevel-id: 0\n", "line 2: level-id must be a whole number from 1"},
        {"rollavortex-run 2\nlevel-sha256: 75FADAF4\n",
         "line 2: level-sha256 must be 64 lowercase hexadecimal digits"},
        {"rollavortex-run 2\nlevel: " + longWord + "\n", "level must be at most 200"},
        {"rollavortex-run 2\nfile: a\tb\n", "file must be at most 200 printable"},
        {header("frames: 3\n2 0.1\n"), "do not add up"},
        {header("1 0.016\n" + limit + " 0.016\n"), "line 7"},
        {header("999999999999999999999 0.016\n"), "line 6"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_NE(parseError(text).find(expected), std::string::npos)
            << text.substr(0, 200) << " -> " << parseError(text);
    }
    RecordedRun kept = sampleRun();
    std::string error;
    EXPECT_FALSE(parseRun(header("1 0.1 +Nothing\n"), kept, error));
    EXPECT_EQ(kept.frameCount(), sampleRun().frameCount());
    EXPECT_TRUE(parseRun(header("1 17\n", 3), kept, error)) << error;
    // A submitted run has only frames the game window makes.
    for (const char* frame : {"1 0.2500001\n", "1 0\n"}) {
        EXPECT_FALSE(parseRun(std::string("rollavortex-run 2\n") + frame, kept, error,
                              submittedRunLimits()));
        EXPECT_EQ(error, "line 2: frame time must be seconds above 0 up to 0.25") << frame;
    }
}
