#include <gtest/gtest.h>

#include <filesystem>

#include "TempFolder.hpp"
#include "sim/base/DataFolder.hpp"

namespace fs = std::filesystem;

TEST(DataFolder, TheVariableThenTheInstalledFolderThenTheSourceTreeHoldTheDataPaths) {
    TempFolder prefix;
    fs::create_directories(prefix.path() / "share/rollavortex");
    fs::create_directories(prefix.path() / "bin");
    const fs::path installed = prefix.path() / "share/rollavortex";
    const fs::path source = "/src/rollavortex/data";
    struct Case {
        const char* variable;
        fs::path program;
        fs::path wanted;
    };
    const Case cases[] = {
        // The variable wins even over an installed copy, and even when its
        // folder is missing: what is missing there gets reported.
        {"/elsewhere/data", prefix.path() / "bin/rollavortex", "/elsewhere/data"},
        {"", prefix.path() / "bin/rollavortex", installed},
        {nullptr, prefix.path() / "bin/rollavortex", installed},
        // The server lives in sbin/ beside bin/: the same folder.
        {nullptr, prefix.path() / "sbin/rollavortex-highscored", installed},
        // A build folder has no share/ beside it.
        {nullptr, prefix.path() / "share/rollavortex/rollavortex", source},
        {nullptr, "/no/such/prefix/bin/rollavortex", source},
        {nullptr, "", source},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program.string() + " " + (c.variable ? c.variable : "(unset)"));
        EXPECT_EQ(chooseDataFolder(c.variable, c.program, source).folder, c.wanted);
    }

    TempFolder data;
    ScopedDataFolder useIt(data.path());
    EXPECT_EQ(findDataFolder().folder, data.path());
    EXPECT_EQ(dataPath("images/wall.png"), (data.path() / "images/wall.png").string());
    EXPECT_EQ(dataPath("sound/"), data.path().string() + "/sound/");
}
