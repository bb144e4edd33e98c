#include <gtest/gtest.h>

#include <string>

#include "app/GameWindow.hpp"
#include "game/LevelSimulation.hpp"
#include "game/RecordedRun.hpp"
#include "game/RunVerification.hpp"

namespace {

const std::string levelHash(64, 'c');

std::string parseError(const std::string& text, const RunLimits& limits = RunLimits()) {
    RecordedRun run;
    std::string error;
    EXPECT_FALSE(parseRun(text, run, error, limits)) << text;
    return error;
}

}  // namespace

TEST(RunHeader, NewFieldsAndKeysWithoutNamesSurviveTheText) {
    RecordedRun run;
    run.levelName = "Fortified";
    run.levelFile = "data/levels/Fortified.tmx";
    run.levelId = 20000;
    run.levelSha256 = levelHash;
    run.physicsVersion = LevelSimulation::physicsVersion;
    run.mode = puzzleMode;
    run.turnSpeeds = {300.5f, 0.1f, 720.0f, true};
    // A key the format has no name for still sets the modifiers in play.
    run.frames.push_back({0.02f, {GameWindow::keyEvent(sf::Keyboard::A, true, true, false)}});
    const std::string text = formatRun(run);
    RecordedRun back;
    std::string error;
    ASSERT_TRUE(parseRun(text, back, error)) << error;
    EXPECT_EQ(text.find("rollavortex-run 2\n"), text.find('\n') + 1) << text;
    EXPECT_EQ(back.levelId, 20000);
    EXPECT_EQ(back.levelSha256, levelHash);
    EXPECT_EQ(back.physicsVersion, LevelSimulation::physicsVersion);
    EXPECT_EQ(back.turnSpeeds.turn, 300.5f);
    EXPECT_EQ(back.turnSpeeds.shift, 0.1f);
    EXPECT_EQ(back.turnSpeeds.control, 720.0f);
    EXPECT_TRUE(back.turnSpeeds.inverted);
    ASSERT_EQ(back.frames.size(), 1u);
    ASSERT_EQ(back.frames[0].events.size(), 1u);
    EXPECT_EQ(back.frames[0].events[0].key.code, sf::Keyboard::Unknown);
    EXPECT_TRUE(back.frames[0].events[0].key.shift);
    EXPECT_EQ(formatRun(back), text);
}

TEST(RunHeader, FirstVersionFilesReadWithDefaultsAndNoLevelHash) {
    RecordedRun run;
    std::string error;
    ASSERT_TRUE(parseRun("rollavortex-run 1\nlevel: L\nmode: 1\ntime-ms: 5\n1 0.5\n", run, error))
        << error;
    EXPECT_EQ(run.levelId, 0);
    EXPECT_TRUE(run.levelSha256.empty());
    EXPECT_EQ(run.physicsVersion, 0);
    EXPECT_EQ(run.turnSpeeds.turn, TurnSpeeds::defaultTurn);
    EXPECT_FALSE(run.turnSpeeds.inverted);
}

TEST(RunHeader, BadHeaderValuesNameTheirField) {
    const struct {
        const char* line;
        const char* problem;
    } cases[] = {
        {"level-id: 0", "level-id must be"},
        {"level-id: 25x", "level-id must be"},
        {"physics: -1", "physics must be"},
        {"level-sha256: abc", "level-sha256 must be"},
        {"level-sha256: 75FADAF4C237D64B706DABB17BABCDE39A08831FB61C8EEA04DEF16E0AC57713",
         "level-sha256 must be"},
        {"turn-speeds: 280 140", "turn-speeds must be"},
        {"turn-speeds: 280 nan 420", "turn-speeds must be"},
        {"turn-speeds: 280 140 inf", "turn-speeds must be"},
        {"inverted-controls: yes", "inverted-controls must be"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseError(std::string("rollavortex-run 2\n") + c.line + "\n")
                      .find(std::string("line 2: ") + c.problem),
                  0u)
            << c.line;
    }
}

// A submitted run is bounded as it is read: frames of the game window only,
// and no more than half an hour of them, whatever the text claims.
TEST(RunHeader, SubmittedRunsAreBoundedWhileTheyAreRead) {
    const RunLimits limits = submittedRunLimits();
    const std::string head = "rollavortex-run 2\nmode: 1\n";
    const struct {
        std::string frames;
        const char* problem;
    } cases[] = {
        {"1 0\n", "line 3: frame time must be seconds above 0 up to 0.25"},
        {"1 -0.01\n", "line 3: frame time must be seconds above 0 up to 0.25"},
        {"1 0.2500001\n", "line 3: frame time must be seconds above 0 up to 0.25"},
        {"1 nan\n", "line 3: frame time must be seconds above 0 up to 0.25"},
        {"1 inf\n", "line 3: frame time must be seconds above 0 up to 0.25"},
        {"7200 0.25\n1 0.25\n", "line 4: more than 1800 s of game time"},
        {"999999999 0.25\n", "line 3: more than 216000 frames"},
        {"frames: 216001\n", "line 3: frames must be a count up to 216000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseError(head + c.frames, limits), c.problem) << c.frames;
    }
    RecordedRun run;
    std::string error;
    EXPECT_TRUE(parseRun(head + "7200 0.25\n", run, error, limits)) << error;
    EXPECT_TRUE(parseRun(head + "1 0\n", run, error)) << "a run of the game may hold empty frames";
}
