// The shipped levels read by the TMX reader cell for cell as their ASCII
// sources say (before the reader, the game's line reader read the same cells:
// their runs and golden hashes in autopilot/ShippedRunsTest did not move).
#include <gtest/gtest.h>

#include <filesystem>

#include "TempFolder.hpp"
#include "sim/level/LevelSource.hpp"
#include "sim/level/TmxReader.hpp"

TEST(TmxShipped, EachShippedLevelReadsAsItsSourceSays) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator("levels/src")) {
        if (!entry.is_regular_file()) {
            continue;
        }
        SCOPED_TRACE(entry.path().string());
        ++files;
        LevelSource source;
        ASSERT_TRUE(readLevelSource(slurpFile(entry.path().string()), source).empty());
        const auto file = "data/levels" / entry.path().stem().concat(".tmx");
        const TmxRead read = readTmxFile(file);
        ASSERT_TRUE(read.level) << read.refusal.text();
        EXPECT_EQ(read.level->map.width, source.width);
        EXPECT_EQ(read.level->map.height, source.height);
        EXPECT_EQ(read.level->map.tiles,
                  std::vector<std::int32_t>(source.tiles.begin(), source.tiles.end()));
        EXPECT_EQ(read.level->title, source.title);
    }
    EXPECT_EQ(files, 4) << "run from the source folder";
}
