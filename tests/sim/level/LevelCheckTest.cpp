// Whether a level that reads can be played: its mode, and each problem of
// its map at the place a level maker looks for it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestLevels.hpp"
#include "levelc/TmxWriter.hpp"
#include "sim/level/LevelCheck.hpp"
#include "sim/level/LevelReader.hpp"
#include "sim/level/LevelSource.hpp"

namespace {

struct Judged {
    std::optional<GameMode> mode;
    std::vector<std::string> problems;
};

Judged judged(const std::string& bytes) {
    const LevelVerdict verdict = judgeLevel(readLevel(bytes));
    Judged out{verdict.mode, {}};
    for (const LevelProblem& problem : verdict.problems) {
        out.problems.push_back(problem.text());
    }
    return out;
}

// The same rows as the tile editor's map file.
std::string mapFileOf(const std::vector<std::string>& rows) {
    LevelSource level;
    EXPECT_TRUE(readLevelSource(levelSource(rows), level).empty());
    return writeTmx(level);
}

}  // namespace

// A map file names a place by tile as the editor counts, from 0. A byte order
// mark or blank lines before it change nothing (before a source: LevelSourceTest).
TEST(LevelCheck, EachMapProblemIsNamedAtItsLineAndColumnOrTile) {
    struct Row {
        const char* name;
        std::string bytes;
        std::optional<GameMode> mode;
        std::vector<std::string> problems;
    };
    const Row rows[] = {
        {"a race", levelSource({"#####", "#@.F#", "#####"}), raceMode, {}},
        {"targets and no finish make a puzzle",
         levelSource({"#####", "#@.R#", "#####"}),
         puzzleMode,
         {}},
        {"the header's mode wins",
         levelSource({"######", "#@FbB#", "######"}, "mode: PUZZLE\n"),
         puzzleMode,
         {}},
        {"a number names the mode",
         levelSource({"#####", "#@.F#", "#####"}, "mode: 1\n"),
         raceMode,
         {}},
        {"two balls",
         levelSource({"#####", "#@@F#", "#####"}),
         raceMode,
         {"line 3, column 3: a second ball start (@): a level has exactly one"}},
        {"a puzzle without targets",
         levelSource({"####", "#@F#", "####"}, "mode: Puzzle\n"),
         puzzleMode,
         {"a Puzzle level needs a colour target (B C G P R Y, tiles 21-26)"}},
        {"a colour no switch gives",
         levelSource({"########", "#@.BgG.#", "#...B..#", "########"}),
         puzzleMode,
         {"line 3, column 4: no blue switch (b) anywhere: the ball can never take this "
          "target's colour"}},
        {"an opening in the wall",
         levelSource({"######", "#@..F#", "#.####", "#.#"}, "title: Leak\n"),
         raceMode,
         {"line 6, column 2: the ball can get out of the map here: close the level with walls "
          "(#)"}},
        {"an unknown mode",
         levelSource({"###", "#@#", "###"}, "mode: Speedrun\n"),
         std::nullopt,
         {"the mode \"Speedrun\" is neither Race nor Puzzle (nor 1 or 2)"}},
        {"a map file",
         mapFileOf({"#####", "#@.F#", "#.@##", "#...."}),
         raceMode,
         {"tile 2, 2: a second ball start (@): a level has exactly one",
          "tile 1, 3: the ball can get out of the map here: close the level with walls (#)"}},
        {"a byte order mark",
         "\xEF\xBB\xBF" + mapFileOf({"#####", "#@.F#", "#####"}),
         raceMode,
         {}},
        {"blank lines", "\n \r\n" + mapFileOf({"#####", "#@.F#", "#####"}), raceMode, {}},
    };
    for (const Row& row : rows) {
        const Judged got = judged(row.bytes);
        EXPECT_EQ(got.mode, row.mode) << row.name;
        EXPECT_EQ(got.problems, row.problems) << row.name;
    }
}
