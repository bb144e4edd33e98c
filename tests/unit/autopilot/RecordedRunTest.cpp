#include <gtest/gtest.h>

#include <string>

#include "TempFolder.hpp"
#include "app/GameWindow.hpp"
#include "app/TurnEvent.hpp"
#include "game/RecordedRun.hpp"

namespace {

constexpr float frame60 = 1.0f / 60.0f;

sf::Event key(sf::Keyboard::Key code, bool pressed, bool shift = false, bool control = false) {
    return GameWindow::keyEvent(code, pressed, shift, control);
}

RecordedRun sampleRun() {
    RecordedRun run;
    run.levelName = "The Labyrinth";
    run.levelFile = "data/levels/TheLabyrinth.tmx";
    run.mode = puzzleMode;
    run.finishMilliseconds = 61234;
    run.frames.assign(3, RecordedFrame{frame60, {}});
    run.frames.push_back({frame60,
                          {key(sf::Keyboard::LControl, true, false, true),
                           key(sf::Keyboard::Left, true, false, true)}});
    run.frames.push_back({frame60, {}});
    run.frames.push_back({frame60,
                          {key(sf::Keyboard::LShift, true, true, true),
                           key(sf::Keyboard::LControl, false, true, false),
                           key(sf::Keyboard::Space, true, true, false)}});
    // An odd frame time must come back bit for bit, and must not join the
    // empty frames of 1/60 s before it.
    run.frames.push_back({0.0123456789f, {}});
    run.frames.push_back({frame60, {key(sf::Keyboard::Return, false)}});
    run.frames.push_back({frame60, {TurnEvent::make(-62.5f), TurnEvent::make(0.1234567f)}});
    return run;
}

std::string header(const std::string& frames) {
    return "rollavortex-run 1\nlevel: L\nfile: f.tmx\nmode: 1\ntime-ms: 5\n" + frames;
}

std::string parseError(const std::string& text) {
    RecordedRun run;
    std::string error;
    EXPECT_FALSE(parseRun(text, run, error)) << text;
    return error;
}

}  // namespace

TEST(RecordedRun, TextRoundTripKeepsEveryFrameEventAndModifier) {
    const RecordedRun run = sampleRun();
    const std::string text = formatRun(run);
    RecordedRun back;
    std::string error;
    ASSERT_TRUE(parseRun(text, back, error)) << error;
    EXPECT_EQ(back.levelFile, run.levelFile);
    EXPECT_EQ(back.finishMilliseconds, run.finishMilliseconds);
    EXPECT_TRUE(back.frames == run.frames);
    // Empty frames of the same time share a line: 3 empty, then 1 + the
    // empty one after it.
    EXPECT_NE(text.find("\n3 0.016666668\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n2 0.016666668 +LControl/c +Left/c\n"), std::string::npos) << text;
    EXPECT_EQ(formatRun(back), text);
}

TEST(RecordedRun, CommentsBlankLinesAndCarriageReturnsAreAllowed) {
    RecordedRun run;
    std::string error;
    ASSERT_TRUE(
        parseRun("# made by hand\r\n\r\nrollavortex-run 1\r\nlevel: A B\r\nmode: 2\r\n"
                 "frames: 4\r\n# the countdown\r\n3 0.5\r\n1 0.25 +Right/s -Right\r\n",
                 run, error))
        << error;
    EXPECT_EQ(run.levelName, "A B");
    EXPECT_EQ(run.finishMilliseconds, -1);
    ASSERT_EQ(run.frames.size(), 4u);
    const RecordedFrame last{
        0.25f, {key(sf::Keyboard::Right, true, true), key(sf::Keyboard::Right, false)}};
    EXPECT_TRUE(run.frames[3] == last);
}

// A huge frame count is refused before anything is allocated for it.
TEST(RecordedRun, BrokenTextIsRefusedWithItsLineAndLeavesTheRunAlone) {
    const std::string limit = std::to_string(RecordedRun::maxFrames);
    const std::pair<std::string, std::string> cases[] = {
        {"", "line 1: not a recorded run"},
        {"rollavortex-run 3\n", "line 1: not a recorded run"},
        {header("1 0.1 +Left/ss\n"), "line 6: unknown key event '+Left/ss'"},
        {header("1 0.1 *Left\n"), "line 6: unknown key event"},
        {header("1 0.1 +A\n"), "line 6: unknown key event"},
        {header("1 0.1 ~100.5\n"), "line 6: unknown key event"},
        {header("1 0.1 ~nan\n"), "line 6: unknown key event"},
        {header("0 0.1\n"), "line 6: a frame line"},
        {header("2\n"), "line 6"},
        {header("1 nan\n"), "line 6: frame time must be seconds from 0 to 1"},
        {header("1 1.5\n"), "line 6: frame time must"},
        {header("1 0.1s\n"), "line 6: frame time must"},
        {"rollavortex-run 1\nmode: 3\n", "line 2: mode"},
        {"rollavortex-run 1\ntime-ms: soon\n", "line 2"},
        {"rollavortex-run 1\ncolour: red\n", "unknown field"},
        {header("frames: 3\n2 0.1\n"), "do not add up"},
        {header("1 0.016\n" + limit + " 0.016\n"), "line 7"},
        {header("999999999999999999999 0.016\n"), "line 6"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_NE(parseError(text).find(expected), std::string::npos) << text;
    }
    RecordedRun kept = sampleRun();
    std::string error;
    EXPECT_FALSE(parseRun(header("1 0.1 +Nothing\n"), kept, error));
    EXPECT_EQ(kept.frames.size(), sampleRun().frames.size());
    EXPECT_TRUE(parseRun(header(limit + " 0.016\n"), kept, error)) << error;
}

TEST(RecordedRun, FilesAreWrittenAndReadBack) {
    TempFolder folder;
    ASSERT_TRUE(writeRunFile(folder.file("sample.run"), sampleRun()));
    RecordedRun back;
    std::string error;
    ASSERT_TRUE(readRunFile(folder.file("sample.run"), back, error)) << error;
    EXPECT_TRUE(back.frames == sampleRun().frames);
    EXPECT_FALSE(readRunFile(folder.file("missing.run"), back, error));
    EXPECT_NE(error.find("cannot read"), std::string::npos);
    EXPECT_FALSE(writeRunFile(folder.file("no/such/folder/x.run"), sampleRun()));
}

TEST(RecordedRun, MillisecondsAreRoundedToTheNearest) {
    EXPECT_EQ(raceMilliseconds(12.3454f), 12345);
    EXPECT_EQ(raceMilliseconds(12.3456f), 12346);
}
