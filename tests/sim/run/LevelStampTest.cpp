// A run names its level file inside the data folder however the file was
// named to the recorder, and by its hash alone when it is no shipped level.
#include <gtest/gtest.h>

#include <filesystem>

#include "TempFolder.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/run/LevelStamp.hpp"

TEST(LevelStamp, TheLevelFileIsNamedInsideTheDataFolderAndIdentifiedByIdOrHash) {
    TempFolder outside;
    writeFileBytes(outside.file("Mine.txt"), "map:\n#@F#\n");
    const std::filesystem::path data = findDataFolder().folder;
    const std::filesystem::path relativeData =
        std::filesystem::relative(data / "levels" / "TheLabyrinth.tmx");
    struct Row {
        std::string given;
        int levelId;
        std::string named;
        LevelIdentity identity;
    };
    const std::string labyrinth = sha256Hex(slurpFile(dataPath("levels/TheLabyrinth.tmx")));
    const Row rows[] = {
        {dataPath("levels/TheLabyrinth.tmx"), 250, "levels/TheLabyrinth.tmx", 250},
        {relativeData.string(), 250, "levels/TheLabyrinth.tmx", 250},
        {"levels/TheLabyrinth.tmx", 0, "levels/TheLabyrinth.tmx", LevelIdentity::ofFile(labyrinth)},
        {outside.file("Mine.txt"), 0, outside.file("Mine.txt"),
         LevelIdentity::ofFile(sha256Hex("map:\n#@F#\n"))},
    };
    for (const Row& row : rows) {
        RecordedRun run;
        ASSERT_TRUE(stampLevelFile(run, row.given, row.levelId)) << row.given;
        EXPECT_EQ(run.levelFile, row.named) << row.given;
        EXPECT_EQ(identityOfRun(run), row.identity) << row.given;
    }
    RecordedRun missing;
    EXPECT_FALSE(stampLevelFile(missing, outside.file("gone.txt"), 0));
    EXPECT_TRUE(missing.levelSha256.empty());
}
