#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ShippedRun.hpp"
#include "TempFolder.hpp"
#include "game/PersonalRuns.hpp"
#include "sim/run/RunText.hpp"

TEST(PersonalRuns, FolderFollowsXdgDataHomeThenHome) {
    // Both variables are the test program's again afterwards.
    const ScopedDataFolder home("/home/player", "HOME");
    for (const auto& [dataHome, folder] : {std::pair<const char*, const char*>{"/data", "/data"},
                                           {"", "/home/player/.local/share"},
                                           {"relative", "/home/player/.local/share"}}) {
        const ScopedDataFolder data(dataHome, "XDG_DATA_HOME");
        EXPECT_EQ(PersonalRuns::defaultFolder(), std::string(folder) + "/rollavortex/runs");
    }
}

TEST(PersonalRuns, SavedRunsComeBackAndUnfitFilesAreIgnoredWithOneLine) {
    const RecordedRun run = loadShippedRun("Fortified").run;
    TempFolder temp;
    const PersonalRuns runs(temp.path() / "deep" / "runs");
    ASSERT_TRUE(runs.save(run));
    const std::optional<RecordedRun> back = runs.load(puzzleMode, 20000, run.levelSha256);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(formatRun(*back), formatRun(run));

    RecordedRun otherPhysics = run;
    otherPhysics.physicsVersion += 1;
    const std::string file = runs.pathOf(puzzleMode, 20000).string();
    for (const auto& [contents, levelSha256] :
         {std::pair<std::string, std::string>{"rollavortex-run 2\n1 x\n", run.levelSha256},
          {formatRun(run), std::string(64, '0')},
          {formatRun(otherPhysics), run.levelSha256}}) {
        writeFileBytes(file, contents);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(runs.load(puzzleMode, 20000, levelSha256).has_value());
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("rollavortex: ignoring " + file + ": ", 0), 0u) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    }
    EXPECT_FALSE(runs.load(raceMode, 250, run.levelSha256).has_value()) << "no run yet";
    writeFileBytes(temp.file("plain"), "x");
    EXPECT_FALSE(PersonalRuns(temp.path() / "plain" / "runs").save(run)) << "not a folder";

    // A custom level's run (kept by its hash: scene_custom) copied under the
    // name of another custom level is that level's no more.
    RecordedRun custom = run;
    custom.levelId = 0;
    const LevelIdentity other = LevelIdentity::ofFile(std::string(64, '0'));
    writeFileBytes(runs.pathOf(puzzleMode, other).string(), formatRun(custom));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(runs.load(puzzleMode, other, run.levelSha256).has_value());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("run is for another level"),
              std::string::npos);
}

// A finish that is no best replaces a stored run only when that one is slower
// or can no longer be raced.
TEST(PersonalRuns, AFinishReplacesOnlyASlowerOrUnraceableRun) {
    const RecordedRun run = loadShippedRun("Fortified").run;
    TempFolder temp;
    const PersonalRuns runs(temp.path());
    const std::string file = runs.pathOf(puzzleMode, 20000).string();

    RecordedRun olderPhysics = run;
    olderPhysics.physicsVersion -= 1;
    olderPhysics.finishMilliseconds -= 5000;
    ASSERT_TRUE(runs.save(olderPhysics));
    testing::internal::CaptureStderr();
    EXPECT_TRUE(runs.keepIfFaster(run)) << "a faster run in older physics is no ghost";
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(slurpFile(file), formatRun(run));

    RecordedRun slower = run;
    slower.finishMilliseconds += 1;
    EXPECT_FALSE(runs.keepIfFaster(slower));
    EXPECT_FALSE(runs.keepIfFaster(run)) << "as fast is not faster";
    EXPECT_EQ(slurpFile(file), formatRun(run));

    RecordedRun faster = run;
    faster.finishMilliseconds -= 1;
    EXPECT_TRUE(runs.keepIfFaster(faster));
    EXPECT_EQ(slurpFile(file), formatRun(faster));
}
