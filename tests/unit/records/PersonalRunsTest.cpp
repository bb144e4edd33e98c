#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "ShippedRun.hpp"
#include "TempFolder.hpp"
#include "game/PersonalRuns.hpp"

namespace {

// Sets an environment variable for one test, or unsets it (nullptr).
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name(name) {
        if (const char* old = std::getenv(name)) {
            previous = old;
        }
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedVariable() { previous ? setenv(name, previous->c_str(), 1) : unsetenv(name); }

  private:
    const char* name;
    std::optional<std::string> previous;
};

}  // namespace

TEST(PersonalRuns, FolderFollowsXdgDataHomeThenHome) {
    ScopedVariable home("HOME", "/home/player");
    const struct {
        const char* dataHome;
        const char* folder;
    } cases[] = {
        {"/data", "/data/rollavortex/runs"},
        {nullptr, "/home/player/.local/share/rollavortex/runs"},
        {"", "/home/player/.local/share/rollavortex/runs"},
        {"relative/data", "/home/player/.local/share/rollavortex/runs"},
    };
    for (const auto& c : cases) {
        ScopedVariable data("XDG_DATA_HOME", c.dataHome);
        EXPECT_EQ(PersonalRuns::defaultFolder(), c.folder) << (c.dataHome ? c.dataHome : "unset");
    }
    ScopedVariable noData("XDG_DATA_HOME", nullptr);
    ScopedVariable noHome("HOME", nullptr);
    EXPECT_TRUE(PersonalRuns::defaultFolder().empty());
    EXPECT_FALSE(PersonalRuns(PersonalRuns::defaultFolder()).save(RecordedRun()));
}

TEST(PersonalRuns, SavedRunsComeBackAndUnfitFilesAreIgnoredWithOneLine) {
    const RecordedRun run = loadShippedRun("Fortified").run;
    TempFolder temp;
    const PersonalRuns runs(temp.path() / "deep" / "runs");
    ASSERT_TRUE(runs.save(run));
    EXPECT_EQ(runs.pathOf(puzzleMode, 20000).filename(), "2-20000.run");
    const std::optional<RecordedRun> back = runs.load(puzzleMode, 20000, run.levelSha256);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(formatRun(*back), formatRun(run));
    EXPECT_FALSE(std::filesystem::exists(runs.pathOf(puzzleMode, 20000).string() + ".tmp"));

    const std::string file = runs.pathOf(puzzleMode, 20000).string();
    RecordedRun otherPhysics = run;
    otherPhysics.physicsVersion += 1;
    RecordedRun otherLevel = run;
    otherLevel.levelId = 20057;
    const struct {
        const char* what;
        std::string contents;
        std::string levelSha256;
    } cases[] = {
        {"broken", "rollavortex-run 2\n1 x\n", run.levelSha256},
        {"another level file", formatRun(run), std::string(64, '0')},
        {"another physics", formatRun(otherPhysics), run.levelSha256},
        {"another level", formatRun(otherLevel), run.levelSha256},
    };
    for (const auto& c : cases) {
        writeFileBytes(file, c.contents);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(runs.load(puzzleMode, 20000, c.levelSha256).has_value()) << c.what;
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.find(file), said.find("ignoring ") + 9) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    }
    testing::internal::CaptureStderr();
    EXPECT_FALSE(runs.load(raceMode, 250, run.levelSha256).has_value());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "no run yet is nothing to report";

    // A folder that cannot be made keeps nothing and breaks nothing.
    writeFileBytes(temp.file("plain"), "x");
    EXPECT_FALSE(PersonalRuns(temp.path() / "plain" / "runs").save(run));
}
