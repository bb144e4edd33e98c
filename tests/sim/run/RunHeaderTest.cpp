#include <gtest/gtest.h>

#include <string>

#include "sim/run/RunText.hpp"
#include "sim/run/RunVerification.hpp"

TEST(RunHeader, NewFieldsAndKeysWithoutNamesSurviveTheTextAndVersionOneStillReads) {
    RecordedRun run;
    run.levelId = 20000;
    run.levelSha256 = std::string(64, 'c');
    run.physicsVersion = 3;
    run.turnSpeeds = {300.5f, 100.0f, 720.0f, true};
    const PlayInput other[] = {PlayInput::pressed(PlayKey::other, true, false)};
    run.addFrame(0.02f, other);
    const std::string text = formatRun(run);
    RecordedRun back;
    std::string error;
    ASSERT_TRUE(parseRun(text, back, error)) << error;
    EXPECT_EQ(formatRun(back), text);
    EXPECT_NE(text.find(" +Other/s\n"), std::string::npos) << "a key that only sets modifiers";
    ASSERT_TRUE(parseRun("rollavortex-run 1\nmode: 2\n1 0.5\n", back, error)) << error;
    EXPECT_EQ(back.physicsVersion, 0);
    EXPECT_EQ(back.turnSpeeds.turn, TurnSpeeds().turn);
}

// Bad header values name their field; a submitted run has only frames the game
// window makes (the other bounds are in the verification's cases).
TEST(RunHeader, BadValuesAreRefusedWithTheirLine) {
    const RunLimits submitted = submittedRunLimits();
    const struct {
        const char* lines;
        RunLimits limits;
        const char* error;
    } cases[] = {
        {"level-id: 0\n", {}, "line 2: level-id must be a whole number from 1"},
        {"level-sha256: 75FADAF4\n",
         {},
         "line 2: level-sha256 must be 64 lowercase hexadecimal digits"},
        {"1 0.2500001\n", submitted, "line 2: frame time must be seconds above 0 up to 0.25"},
        {"1 0\n", submitted, "line 2: frame time must be seconds above 0 up to 0.25"},
    };
    for (const auto& c : cases) {
        RecordedRun run;
        std::string error;
        EXPECT_FALSE(parseRun(std::string("rollavortex-run 2\n") + c.lines, run, error, c.limits));
        EXPECT_EQ(error, c.error) << c.lines;
    }
}
