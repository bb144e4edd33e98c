// The editor round trip: each shipped level opened and saved again by the
// tile editor itself (Debian's tiled, headless), in each layer encoding it
// offers, reads to the same cells and title as the shipped file, and the
// level's committed run plays on it to the same end state. The editor
// reorders attributes and re-encodes the data as it likes; a level maker who
// opens a level and saves it must still play the same level.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "ShippedRun.hpp"
#include "SpawnLogged.hpp"
#include "TempFolder.hpp"
#include "sim/level/TmxReader.hpp"

namespace {

// The editor keeps the layer encoding a map was read in, and reads <tile>
// elements whatever the <data> element says: naming the encoding on a copy
// of the shipped file makes it write the data in that encoding.
const std::pair<std::string, std::string> encodings[] = {
    {"xml", "<data>"},
    {"csv", "<data encoding=\"csv\">"},
    {"base64", "<data encoding=\"base64\">"},
    {"zlib", "<data encoding=\"base64\" compression=\"zlib\">"},
    {"gzip", "<data encoding=\"base64\" compression=\"gzip\">"},
    {"zstd", "<data encoding=\"base64\" compression=\"zstd\">"},
};

struct Resave {
    std::string level, dataTag, output, log;
    pid_t editor = -1;
};

// Starts the editor saving `input` as `output`, without a display and with a
// home of its own: editors that share one settings file wait for its lock.
// The state hash at the end of the level's committed run, played on `levelBytes`
// (the run's level hash is not checked by a replay).
std::uint64_t endStateOnFile(const ShippedRun& shipped, const std::string& levelBytes) {
    LevelSimulation simulation(shipped.run.mode, shipped.run.turnSpeeds);
    simulation.loadLevelBytes(levelBytes);
    const ReplayResult result = replayRun(simulation, shipped.run);
    EXPECT_EQ(result.milliseconds, shipped.run.finishMilliseconds);
    return simulation.stateHash();
}

pid_t startEditor(const std::string& home, const std::string& input, const Resave& resave) {
    std::filesystem::create_directories(home);
    std::filesystem::permissions(home, std::filesystem::perms::owner_all);
    return spawnLogged(
        {"env", "HOME=" + home, "XDG_CONFIG_HOME=" + home, "XDG_RUNTIME_DIR=" + home,
         "QT_QPA_PLATFORM=offscreen", "tiled", "--export-map", "tmx", input, resave.output},
        resave.log);
}

}  // namespace

TEST(TmxEditorRoundTrip, EachShippedLevelSavedByTheEditorInEachEncodingReadsTheSame) {
    if (std::system("command -v tiled >/dev/null") != 0) {
        GTEST_SKIP() << "the tile editor `tiled` is not installed (scripts/install-deps.sh "
                        "--tests installs it): the editor round trip is not checked";
    }
    TempFolder folder;
    std::vector<Resave> resaves;
    for (const auto& entry : std::filesystem::directory_iterator("data/levels")) {
        if (entry.path().extension() != ".tmx") {
            continue;
        }
        const std::string shipped = slurpFile(entry.path().string());
        const std::size_t data = shipped.find("<data>");
        ASSERT_NE(data, std::string::npos) << entry.path();
        for (const auto& [encoding, dataTag] : encodings) {
            const std::string name = folder.file(entry.path().stem().string() + "-" + encoding);
            Resave resave{entry.path().string(), dataTag, name + ".tmx", name + ".log"};
            writeFileBytes(name + "-in.tmx", std::string(shipped).replace(data, 6, dataTag));
            resave.editor = startEditor(name + "-home", name + "-in.tmx", resave);
            resaves.push_back(resave);
        }
    }
    ASSERT_EQ(resaves.size(), 4 * std::size(encodings)) << "run from the source folder";
    for (const Resave& resave : resaves) {
        SCOPED_TRACE(resave.output);
        int status = -1;
        ASSERT_EQ(waitpid(resave.editor, &status, 0), resave.editor);
        ASSERT_EQ(status, 0) << slurpFile(resave.log);
        const std::string saved = slurpFile(resave.output);
        // The editor wrote the encoding asked for, not its default.
        const bool xml = resave.dataTag == "<data>";
        EXPECT_NE(saved.find(xml ? "<tile gid=\"3\"/>" : resave.dataTag), std::string::npos);
        const TmxRead original = readTmxFile(resave.level);
        const TmxRead read = readTmx(saved);
        ASSERT_TRUE(original.level && read.level) << read.refusal.text();
        EXPECT_EQ(read.level->map.width, original.level->map.width);
        EXPECT_EQ(read.level->map.height, original.level->map.height);
        EXPECT_EQ(read.level->map.tiles, original.level->map.tiles);
        EXPECT_EQ(read.level->title, original.level->title);
        // Replays cost most: the cells are the same in every encoding, so
        // each level replays on one of them, a different one for each level.
        const std::size_t index = static_cast<std::size_t>(&resave - resaves.data());
        if (index / std::size(encodings) == index % std::size(encodings)) {
            const ShippedRun shipped =
                loadShippedRun(std::filesystem::path(resave.level).stem().string());
            EXPECT_EQ(endStateOnFile(shipped, saved), endStateOnFile(shipped, shipped.levelBytes));
        }
    }
}
