// The editor round trip: each shipped level opened and saved again by the
// tile editor itself (Debian's tiled, headless), in each layer encoding it
// offers, reads to the same cells and title as the shipped file. The editor
// reorders attributes and re-encodes the data as it likes; a level maker who
// opens a level and saves it must still play the same level.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "SpawnLogged.hpp"
#include "TempFolder.hpp"
#include "sim/level/TmxReader.hpp"

namespace {

// The editor keeps the layer encoding a map was read in, and reads <tile>
// elements whatever the <data> element says: naming the encoding on a copy
// of the shipped file makes it write the data in that encoding.
struct Encoding {
    std::string name;
    std::string dataTag;
};

const Encoding encodings[] = {
    {"xml", "<data>"},
    {"csv", "<data encoding=\"csv\">"},
    {"base64", "<data encoding=\"base64\">"},
    {"zlib", "<data encoding=\"base64\" compression=\"zlib\">"},
    {"gzip", "<data encoding=\"base64\" compression=\"gzip\">"},
    {"zstd", "<data encoding=\"base64\" compression=\"zstd\">"},
};

bool onPath(const std::string& program) {
    std::istringstream path(getenv("PATH") != nullptr ? getenv("PATH") : "");
    for (std::string folder; std::getline(path, folder, ':');) {
        if (!folder.empty() && access((folder + "/" + program).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

std::string withDataTag(std::string text, const std::string& dataTag) {
    const std::size_t at = text.find("<data>");
    return at == std::string::npos ? "" : text.replace(at, 6, dataTag);
}

struct Resave {
    std::string level;
    Encoding encoding;
    std::string output;
    std::string log;
    pid_t editor = -1;
};

// Starts the editor saving `input` as `output`, without a display and with a
// home of its own (`home`, a new folder): editors that share one settings
// file wait for each other's lock.
pid_t startEditor(const std::string& home, const std::string& input, const std::string& output,
                  const std::string& log) {
    std::filesystem::create_directories(home);
    std::filesystem::permissions(home, std::filesystem::perms::owner_all);
    return spawnLogged(
        {"env", "HOME=" + home, "XDG_CONFIG_HOME=" + home + "/config", "XDG_RUNTIME_DIR=" + home,
         "QT_QPA_PLATFORM=offscreen", "tiled", "--export-map", "tmx", input, output},
        log);
}

}  // namespace

TEST(TmxEditorRoundTrip, EachShippedLevelSavedByTheEditorInEachEncodingReadsTheSame) {
    if (!onPath("tiled")) {
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
        for (const Encoding& encoding : encodings) {
            const std::string name = entry.path().stem().string() + "-" + encoding.name;
            const std::string input = folder.file(name + "-in.tmx");
            writeFileBytes(input, withDataTag(shipped, encoding.dataTag));
            Resave resave{entry.path().string(), encoding, folder.file(name + ".tmx"),
                          folder.file(name + ".log")};
            resave.editor =
                startEditor(folder.file(name + "-home"), input, resave.output, resave.log);
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
        const std::string written =
            resave.encoding.name == "xml" ? "<tile gid=\"3\"/>" : resave.encoding.dataTag;
        EXPECT_NE(saved.find(written), std::string::npos) << saved.substr(0, 4000);
        const TmxRead original = readTmxFile(resave.level);
        const TmxRead read = readTmx(saved);
        ASSERT_TRUE(original.level);
        ASSERT_TRUE(read.level) << read.refusal.text();
        EXPECT_EQ(read.level->map.width, original.level->map.width);
        EXPECT_EQ(read.level->map.height, original.level->map.height);
        EXPECT_EQ(read.level->map.tiles, original.level->map.tiles);
        EXPECT_EQ(read.level->title, original.level->title);
    }
}
