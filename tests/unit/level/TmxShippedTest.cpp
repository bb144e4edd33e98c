// The shipped levels read by the TMX reader exactly as the old line reader
// read them: their runs and golden hashes must not move.
#include <gtest/gtest.h>

#include <filesystem>

#include "TempFolder.hpp"
#include "level/TileMap.hpp"
#include "sim/level/TmxReader.hpp"

TEST(TmxShipped, EachShippedLevelReadsAsTheLineReaderReadIt) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator("data/levels")) {
        if (entry.path().extension() != ".tmx") {
            continue;
        }
        SCOPED_TRACE(entry.path().string());
        ++files;
        const std::string bytes = slurpFile(entry.path().string());
        TileMap lines;
        parseTileMap(lines, bytes);
        const TmxRead read = readTmx(bytes);
        ASSERT_TRUE(read.level) << read.refusal.text();
        EXPECT_EQ(read.level->map.width, lines.width);
        EXPECT_EQ(read.level->map.height, lines.height);
        EXPECT_EQ(read.level->map.tiles, lines.tiles);
        EXPECT_FALSE(read.level->title.empty());
    }
    EXPECT_EQ(files, 4) << "run from the source folder";
}
