// levelc's ASCII sources: what it accepts, the game's TMX reader reads back
// as written; what it refuses is said with its line.
#include <gtest/gtest.h>

#include "levelc/LevelSource.hpp"
#include "levelc/TmxWriter.hpp"
#include "sim/level/TmxReader.hpp"

TEST(LevelSource, WhatLevelcWritesReadsBackAndWhatItRefusesSaysWhere) {
    const std::pair<std::string, std::string> table[] = {
        {"title: Rock & \"Roll\" <1>\nmap:\n#####\n#@.F#\n#####\n", ""},
        {"# a comment\n\ntitle: caf\xC3\xA9\nmap:\n@ BCGPRY\nbcgpry!=X\n*o%9317\n", ""},
        {"title: a\tb\nmap:\n@\n", "line 1: the title holds a tab or another control character"},
        {std::string("title: a\0b\nmap:\n@\n", 17), "line 1: the title holds a tab"},
        {"title: x\nmap:\n@?\n", "line 3: column 2: unknown map character '?'"},
        {"map:\n@" + std::string(235, '.') + "\n", "map larger than 234 cells"},
    };
    for (const auto& [text, refusal] : table) {
        LevelSource level;
        std::string error;
        ASSERT_EQ(parseLevelSource(text, level, error), refusal.empty()) << text;
        EXPECT_EQ(error.substr(0, refusal.size()), refusal) << text;
        if (!refusal.empty()) {
            continue;
        }
        const TmxRead read = readTmx(writeTmx(level));
        ASSERT_TRUE(read.level) << read.refusal.text();
        EXPECT_EQ(read.level->title, level.title);
        EXPECT_EQ(read.level->map.width * read.level->map.height, level.width * level.height);
        EXPECT_EQ(read.level->map.tiles,
                  std::vector<std::int32_t>(level.tiles.begin(), level.tiles.end()));
    }
}
