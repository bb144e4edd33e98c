#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ShippedRun.hpp"
#include "TempFolder.hpp"
#include "game/RunVerification.hpp"

namespace {

RunClaim claimOf(const RecordedRun& run) {
    return {run.mode, run.levelId, static_cast<float>(run.finishMilliseconds) / 1000.0f};
}

// The key events of frames from `first` on, `frames` frames later (earlier
// when negative).
std::string withEventsMoved(RecordedRun run, int frames, int first = 0) {
    const int count = static_cast<int>(run.frames.size());
    std::vector<RecordedFrame> moved = run.frames;
    for (int i = first; i < count; ++i) {
        moved[static_cast<std::size_t>(i)].events.clear();
    }
    for (int i = first; i < count; ++i) {
        const int to = std::clamp(i + frames, 0, count - 1);
        std::vector<sf::Event>& events = moved[static_cast<std::size_t>(to)].events;
        const std::vector<sf::Event>& from = run.frames[static_cast<std::size_t>(i)].events;
        events.insert(events.end(), from.begin(), from.end());
    }
    run.frames = moved;
    return formatRun(run);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

}  // namespace

// The committed runs verify as the server will check them: from a working
// folder without the game's data, on the level file's bytes alone.
TEST(RunVerification, EveryShippedRunVerifiesWithoutTheDataFolder) {
    std::vector<ShippedRun> runs;
    for (const char* stem : {"TheLabyrinth", "TheRopeBridge", "Fortified", "ChaosUnleashed"}) {
        runs.push_back(loadShippedRun(stem));
    }
    TempFolder elsewhere;
    ScopedWorkingFolder away(elsewhere.path());
    for (const ShippedRun& shipped : runs) {
        const RunVerdict verdict =
            verifyRun(shipped.text, claimOf(shipped.run), shipped.levelBytes);
        EXPECT_TRUE(verdict.verified) << shipped.run.levelName << ": " << verdict.reason;
    }
}

TEST(RunVerification, RefusalsSayWhy) {
    const ShippedRun shipped = loadShippedRun("Fortified");
    const RunClaim claim = claimOf(shipped.run);
    RecordedRun unfinished = shipped.run;
    unfinished.frames.resize(unfinished.frames.size() - 1);
    RunClaim otherMode = claim;
    otherMode.mode = raceMode;
    RunClaim otherLevel = claim;
    otherLevel.levelId = 20057;
    RunClaim slower = claim;
    slower.seconds += 0.001f;
    const std::string& text = shipped.text;
    const std::string& level = shipped.levelBytes;

    const struct {
        const char* what;
        std::string run;
        RunClaim claim;
        std::string level;
        std::string reason;  // the start of it
    } cases[] = {
        {"garbage", "GET / HTTP/1.0\r\n", claim, level, "not a recorded run: line 1"},
        {"nothing", "", claim, level, "not a recorded run: line 1"},
        {"truncated", text.substr(0, text.size() / 2), claim, level, "not a recorded run"},
        {"another mode", text, otherMode, level, "run is for another mode"},
        {"another level", text, otherLevel, level, "run is for another level"},
        {"edited level", text, claim, level + "<!-- -->\n",
         "run is for another version of the level"},
        {"other physics", replaced(text, "physics: 1\n", "physics: 2\n"), claim, level,
         "run is for physics version 2, not version 1"},
        {"version 1 run", replaced(text, "physics: 1\n", ""), claim, level,
         "run is for physics version 0"},
        {"empty frame", replaced(text, "\n300 0.016666668\n", "\n300 0\n"), claim, level,
         "not a recorded run: line 13: frame time must be seconds above 0 up to 0.25"},
        {"long frame", replaced(text, "\n300 0.016666668\n", "\n300 0.3\n"), claim, level,
         "not a recorded run: line 13: frame time"},
        {"half an hour", replaced(text, "\n300 0.016666668\n", "\n7300 0.25\n"), claim, level,
         "not a recorded run: line 13: more than 1800 s of game time"},
        {"never finishes", formatRun(unfinished), claim, level, "run never finishes"},
        {"another time", text, slower, level, "run does not reproduce: finished at 19.417 s"},
    };
    for (const auto& c : cases) {
        const RunVerdict verdict = verifyRun(c.run, c.claim, c.level);
        EXPECT_FALSE(verdict.verified) << c.what;
        EXPECT_EQ(verdict.reason.rfind(c.reason, 0), 0u) << c.what << ": " << verdict.reason;
    }
    // Key events a frame late or early: another run, which finishes at
    // another time or never.
    for (int first : {0, 700, 1400}) {
        for (int by : {-1, 1}) {
            const RunVerdict verdict =
                verifyRun(withEventsMoved(shipped.run, by, first), claim, level);
            EXPECT_FALSE(verdict.verified) << first << " " << by;
            EXPECT_TRUE(verdict.reason == "run never finishes" ||
                        verdict.reason.starts_with("run does not reproduce: finished at "))
                << verdict.reason;
        }
    }
    EXPECT_EQ(verifyRunOnLevelFile(text, claim, "no/such/level.tmx").reason,
              "level file cannot be read");
    EXPECT_TRUE(verifyRunOnLevelFile(text, claim, shipped.run.levelFile).verified);
}
