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

// Every key event `by` frames later (earlier when negative).
std::string eventsMoved(RecordedRun run, int by) {
    const std::vector<RecordedFrame> original = run.frames;
    const int last = static_cast<int>(original.size()) - 1;
    for (int i = 0; i <= last; ++i) {
        run.frames[static_cast<std::size_t>(i)].events =
            original[static_cast<std::size_t>(std::clamp(i - by, 0, last))].events;
    }
    return formatRun(run);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

}  // namespace

// As the server will check them: from a folder without the game's data, on
// the level file's bytes alone.
TEST(RunVerification, EveryShippedRunVerifiesWithoutTheDataFolder) {
    std::vector<ShippedRun> runs;
    for (const char* stem : {"TheLabyrinth", "TheRopeBridge", "Fortified", "ChaosUnleashed"}) {
        runs.push_back(loadShippedRun(stem));
    }
    TempFolder elsewhere;
    ScopedDataFolder away(elsewhere.path());
    for (const ShippedRun& shipped : runs) {
        const RunVerdict verdict =
            verifyRun(shipped.text, claimOf(shipped.run), shipped.levelBytes);
        EXPECT_TRUE(verdict.verified) << shipped.run.levelName << ": " << verdict.reason;
    }
}

TEST(RunVerification, RefusalsSayWhy) {
    const ShippedRun shipped = loadShippedRun("Fortified");
    const RunClaim claim = claimOf(shipped.run);
    const std::string& text = shipped.text;
    const std::string& level = shipped.levelBytes;
    RecordedRun unfinished = shipped.run;
    unfinished.frames.pop_back();
    const struct {
        std::string run;
        RunClaim claim;
        std::string level;
        std::string reason;
    } cases[] = {
        {"GET / HTTP/1.0\r\n", claim, level, "not a recorded run: line 1: not a recorded run"},
        {text.substr(0, text.size() / 2), claim, level,
         "not a recorded run: line 180: the frame lines do not add up to the declared frames"},
        {text, {raceMode, claim.levelId, claim.seconds}, level, "run is for another mode"},
        {text, {claim.mode, 20057, claim.seconds}, level, "run is for another level"},
        {text, claim, level + "\n", "run is for another version of the level"},
        {replaced(text, "physics: 1\n", "physics: 2\n"), claim, level,
         "run is for physics version 2, not version 1"},
        {replaced(text, "\n300 0.016666668\n", "\n300 0\n"), claim, level,
         "not a recorded run: line 13: frame time must be seconds above 0 up to 0.25"},
        {replaced(text, "\n300 0.016666668\n", "\n7300 0.25\n"), claim, level,
         "not a recorded run: line 13: more than 1800 s of game time"},
        {replaced(text, "frames: 1464", "frames: 216001"), claim, level,
         "not a recorded run: line 12: frames must be a count up to 216000"},
        // Key events a frame late or early: another run.
        {eventsMoved(shipped.run, 1), claim, level, "run never finishes"},
        {eventsMoved(shipped.run, -1), claim, level, "run never finishes"},
        {formatRun(unfinished), claim, level, "run never finishes"},
        {text,
         {claim.mode, claim.levelId, claim.seconds + 0.001f},
         level,
         "run does not reproduce: finished at 19.417 s"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(verifyRun(c.run, c.claim, c.level).reason, c.reason);
    }
    EXPECT_EQ(verifyRunOnLevelFile(text, claim, "no/such.tmx").reason, "level file cannot be read");
}
