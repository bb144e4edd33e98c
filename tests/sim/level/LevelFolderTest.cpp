// A folder of levels as the level selection, the autopilot and levelc --check
// see it: which files are levels, in what order and group, and how each broken
// one is listed instead of hiding the others.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/level/LevelFolder.hpp"

namespace fs = std::filesystem;

namespace {

const std::string race = "title: Loop\nmap:\n#####\n#@.F#\n#####\n";
const std::string puzzle = "mode: puzzle\nmap:\n#####\n#@.R#\n#####\n";
const std::string noBall = "map:\n#####\n#..F#\n#####\n";

// "pack/name (mode): first problem" for each level found.
std::vector<std::string> listed(const std::vector<FoundLevel>& levels) {
    std::vector<std::string> lines;
    for (const FoundLevel& level : levels) {
        std::string line = level.pack + "/" + level.name + " (" +
                           (level.mode ? std::to_string(*level.mode) : "?") + ")";
        if (!level.playable()) {
            line += ": " + level.problems.front().text();
        }
        lines.push_back(line);
    }
    return lines;
}

void write(const TempFolder& folder, const std::string& name, const std::string& bytes) {
    fs::create_directories((folder.path() / name).parent_path());
    writeFileBytes(folder.file(name), bytes);
}

}  // namespace

TEST(LevelFolder, LooseLevelsByNameThenPacksBrokenOnesWithTheirReasonAndTheFirstThousand) {
    TempFolder folder;
    write(folder, "b-loop.txt", race);
    write(folder, "a.txt", puzzle);
    write(folder, "c.tmx", "<map width=\"3\"");
    write(folder, "d.txt", noBall);
    write(folder, "notes.md", "not a level");
    write(folder, ".hidden.txt", race);
    write(folder, "drafts/x.txt", race);  // no pack.txt: not looked into
    write(folder, "p2/pack.txt",
          "# order of play\nname:  Second Pack \nz.txt\n\na.txt\nmissing.txt\n../a.txt\n");
    write(folder, "p2/z.txt", race);
    write(folder, "p2/a.txt", puzzle);
    write(folder, "p2/unlisted.txt", race);
    write(folder, "p1/pack.txt", "# nothing yet\n");

    const std::vector<FoundLevel> levels = findLevels(folder.path());
    EXPECT_EQ(listed(levels),
              (std::vector<std::string>{
                  "/a (2)",
                  "/Loop (1)",
                  "/c (?): line 1: the file is no well-formed XML (Error parsing start element "
                  "tag)",
                  "/d (1): the map has no ball start (@ in a source, tile 1 in the editor)",
                  "p1/pack.txt (?): the pack list names no level files",
                  "Second Pack/Loop (1)",
                  "Second Pack/a (2)",
                  "Second Pack/missing (?): there is no such file",
                  "Second Pack/a.txt (?): the pack list names \"../a.txt\": a pack's levels are "
                  "files of its own folder",
              }));
    // A level is known by the hash of its bytes, whatever its name or folder.
    EXPECT_EQ(levels[1].sha256, sha256Hex(race));
    EXPECT_EQ(levels[5].sha256, levels[1].sha256);
    EXPECT_EQ(levels[1].file, folder.path() / "b-loop.txt");

    // A pack folder named itself is that pack; the data folder's packs come
    // without its loose files.
    EXPECT_EQ(listed(findLevels(folder.path() / "p2")).size(), 4u);
    EXPECT_EQ(listed(findPacks(folder.path())).size(), 5u);
    EXPECT_TRUE(findLevels(folder.path() / "no such folder").empty());

    // A folder of too many levels lists the first thousand and says so.
    TempFolder crowded;
    const std::size_t beyond = 7;
    for (std::size_t i = 0; i < LevelFolderLimits::maxLevels + beyond; ++i) {
        write(crowded, "level" + std::to_string(10000 + i) + ".txt", race);
    }
    write(crowded, "big/pack.txt", std::string(70 * 1024, '#'));
    const std::vector<FoundLevel> many = findLevels(crowded.path());
    ASSERT_EQ(many.size(), LevelFolderLimits::maxLevels + 1);
    EXPECT_EQ(many.back().problems.front().text(), "more than 1000 levels: 8 are not listed");

    const std::vector<FoundLevel> packs = findPacks(crowded.path());
    ASSERT_EQ(packs.size(), 1u);
    EXPECT_EQ(packs[0].problems.front().text(), "the pack list is larger than 64 KiB");
}
