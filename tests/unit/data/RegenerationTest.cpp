// The pictures, sounds and music of data/ are made by generators in tools/ and
// committed. Running a generator must give the same bytes every time, and those
// bytes must be what is committed, or the data folder has drifted from its
// source. The sound generator also measures every sound it makes (clipping,
// clicks, level, loop seams) and fails when one breaks its rules.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "TempFolder.hpp"

namespace fs = std::filesystem;

namespace {

struct Generator {
    std::string program;
    // Arguments after the program; OUT stands for the folder of one run.
    std::string arguments;
    // What a run makes below OUT, and where its committed copy lives.
    std::vector<std::pair<std::string, std::string>> outputs;
};

std::vector<Generator> generators() {
    std::vector<Generator> all;
#ifdef ROLLAVORTEX_IMAGEGEN
    all.push_back({ROLLAVORTEX_IMAGEGEN,
                   "data/font/VeraBd.ttf OUT/images OUT/sheet.png",
                   {{"images", "data/images"}, {"sheet.png", "docs/contact-sheet.png"}}});
#endif
#ifdef ROLLAVORTEX_SOUNDGEN
    all.push_back(
        {ROLLAVORTEX_SOUNDGEN, "OUT", {{"sound", "data/sound"}, {"music", "data/music"}}});
#endif
    return all;
}

// Relative paths of every file below a folder, or the file itself.
std::set<std::string> filesOf(const fs::path& root) {
    if (fs::is_regular_file(root)) {
        return {""};
    }
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            names.insert(fs::relative(entry.path(), root).generic_string());
        }
    }
    return names;
}

std::string commandFor(const Generator& generator, const fs::path& out) {
    std::string arguments = generator.arguments;
    for (std::size_t at; (at = arguments.find("OUT")) != std::string::npos;) {
        arguments.replace(at, 3, out.string());
    }
    // A failed run leaves a mark, since both runs go at once in the background.
    return "(\"" + generator.program + "\" " + arguments + " >/dev/null || touch \"" +
           out.string() + "-failed\")";
}

}  // namespace

TEST(Regeneration, TwoRunsOfEachGeneratorGiveTheCommittedBytes) {
    const std::vector<Generator> all = generators();
    if (all.empty()) {
        GTEST_SKIP() << "the generators are not part of this build";
    }
    for (const Generator& generator : all) {
        SCOPED_TRACE(generator.program);
        TempFolder temp;
        const fs::path first = temp.path() / "first", second = temp.path() / "second";
        fs::create_directories(first);
        fs::create_directories(second);
        // Both runs at once: each generator is single-threaded.
        const std::string command =
            commandFor(generator, first) + " & " + commandFor(generator, second) + " & wait";
        ASSERT_EQ(std::system(command.c_str()), 0);
        ASSERT_FALSE(fs::exists(first.string() + "-failed")) << "a run failed; run it by hand";
        ASSERT_FALSE(fs::exists(second.string() + "-failed"));

        for (const auto& [made, committed] : generator.outputs) {
            const std::set<std::string> files = filesOf(first / made);
            ASSERT_FALSE(files.empty()) << made;
            EXPECT_EQ(filesOf(second / made), files);
            EXPECT_EQ(filesOf(committed), files) << committed << " holds other files";
            for (const std::string& name : files) {
                const std::string bytes = slurpFile((first / made / name).string());
                EXPECT_EQ(slurpFile((second / made / name).string()), bytes)
                    << made << "/" << name << " differs between runs";
                EXPECT_EQ(slurpFile((fs::path(committed) / name).string()), bytes)
                    << committed << "/" << name
                    << " is not what its generator makes: run scripts/generate-*.sh";
            }
        }
    }
}
