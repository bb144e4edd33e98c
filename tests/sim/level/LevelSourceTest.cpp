// The ASCII level sources: what the reader accepts, levelc writes as TMX and
// the game's TMX reader reads back as written; what it refuses is said at
// every place it went wrong.
#include <gtest/gtest.h>

#include "levelc/TmxWriter.hpp"
#include "sim/level/LevelSource.hpp"
#include "sim/level/TmxReader.hpp"

TEST(LevelSource, WhatLevelcWritesReadsBackAndWhatItRefusesSaysWhere) {
    const std::pair<std::string, std::string> table[] = {
        {"title: Rock & \"Roll\" <1>\nmap:\n#####\n#@.F#\n#####\n", ""},
        {"# a comment\n\ntitle: caf\xC3\xA9\nmode: Puzzle\nmap:\n@ BCGPRY\nbcgpry!=X\n*o%9317\n",
         ""},
        {"\xEF\xBB\xBFmode: race\r\nmap:\r\n@F\r\n", ""},
        {"title: a\tb\nmap:\n@\n", "line 1: the title holds a tab or another control character"},
        {std::string("title: a\0b\nmap:\n@\n", 17), "line 1: the title holds a tab"},
        {"mode: a\x01\nmap:\n@\n", "line 1: the mode holds a tab"},
        {"title: x\nmap:\n@?\n", "line 3, column 2: unknown map character '?'"},
        {"map:\n@" + std::string(235, '.') + "\n", "line 2: the map is 236 x 1 cells"},
        {"titel: x\nmap:\n@\n", "line 1: expected \"title: ...\", \"mode: ...\" or \"map:\""},
        {"title: x\n", "there is no map"},
        {"title: x\nmap:\n\n\n", "there is no map"},
    };
    for (const auto& [text, refusal] : table) {
        LevelSource level;
        const std::vector<LevelProblem> problems = readLevelSource(text, level);
        ASSERT_EQ(problems.empty(), refusal.empty()) << text;
        if (!refusal.empty()) {
            EXPECT_EQ(problems.front().text().substr(0, refusal.size()), refusal) << text;
            EXPECT_EQ(level.width, 0) << "a refused source leaves the level alone";
            continue;
        }
        const TmxRead read = readTmx(writeTmx(level));
        ASSERT_TRUE(read.level) << read.refusal.text();
        EXPECT_EQ(read.level->title, level.title);
        EXPECT_EQ(read.level->mode, level.mode);
        EXPECT_EQ(read.level->map.width * read.level->map.height, level.width * level.height);
        EXPECT_EQ(read.level->map.tiles,
                  std::vector<std::int32_t>(level.tiles.begin(), level.tiles.end()));
    }
}

TEST(LevelSource, EveryProblemIsNamedWithItsLineAndColumnUpToALimit) {
    LevelSource level;
    const std::vector<LevelProblem> problems =
        readLevelSource("# maker's note\nname: x\nmap:\n#####\n#@?F#\n#?#!Z\n", level);
    std::vector<std::string> texts;
    for (const LevelProblem& problem : problems) {
        texts.push_back(problem.text());
    }
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "line 2: expected \"title: ...\", \"mode: ...\" or \"map:\"",
                         "line 5, column 3: unknown map character '?'",
                         "line 6, column 2: unknown map character '?'",
                         "line 6, column 5: unknown map character 'Z'",
                     }));

    // A file of garbage says where the first fifty problems are and counts the rest.
    const std::vector<LevelProblem> many = readLevelSource("map:\n" + std::string(80, '?'), level);
    ASSERT_EQ(many.size(), LevelSourceLimits::maxProblems + 1);
    EXPECT_EQ(many[49].text(), "line 2, column 50: unknown map character '?'");
    EXPECT_EQ(many.back().text(), "and 30 more problems");
}
