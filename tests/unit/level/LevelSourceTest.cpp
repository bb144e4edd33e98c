// levelc's ASCII sources: what it accepts, the game's TMX reader reads back
// as written; what it refuses is said with its line.
#include <gtest/gtest.h>

#include "levelc/LevelSource.hpp"
#include "levelc/TmxWriter.hpp"
#include "sim/level/TmxReader.hpp"

TEST(LevelSource, WhatLevelcWritesReadsBackAndWhatItRefusesSaysWhere) {
    const struct {
        std::string text;
        std::string error;  // empty when the source compiles
    } table[] = {
        {"title: Plain\nmap:\n#####\n#@.F#\n#####\n", ""},
        {"title: Rock & \"Roll\" <1>\nmap:\n@#\n", ""},
        {"# a comment\n\ntitle:\nmap:\n@ BCGPRY\nbcgpry!=X\n*o%9317\n", ""},
        {"title: caf\xC3\xA9\nmap:\n@\n", ""},
        {"title: a\tb\nmap:\n@\n", "line 1: the title holds a tab or another control character"},
        {std::string("title: a\0b\nmap:\n@\n", 17), "line 1: the title holds a tab"},
        {"title: a\x1b[31m\nmap:\n@\n", "line 1: the title holds"},
        {"title: x\nmap:\n@@\n", "the map needs exactly one ball start '@', it has 2"},
        {"title: x\nmap:\n@?\n", "line 3: column 2: unknown map character '?'"},
        {"level: x\nmap:\n@\n", "line 1: expected \"title: ...\" or \"map:\""},
        {"title: x\n", "no map"},
        {"map:\n@" + std::string(235, '.') + "\n", "map larger than 234 cells"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.text);
        LevelSource level;
        std::string error;
        const bool compiles = parseLevelSource(row.text, level, error);
        EXPECT_EQ(compiles, row.error.empty());
        EXPECT_EQ(error.substr(0, row.error.size()), row.error);
        if (!compiles) {
            continue;
        }
        const TmxRead read = readTmx(writeTmx(level));
        ASSERT_TRUE(read.level) << read.refusal.text();
        EXPECT_EQ(read.level->title, level.title);
        EXPECT_EQ(read.level->map.width, level.width);
        EXPECT_EQ(read.level->map.height, level.height);
        EXPECT_EQ(read.level->map.tiles,
                  std::vector<std::int32_t>(level.tiles.begin(), level.tiles.end()));
    }
}
