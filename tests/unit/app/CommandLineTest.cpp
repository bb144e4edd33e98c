#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandLine.hpp"
#include "TempFolder.hpp"

TEST(CommandLine, EachLineIsFollowedOrRefusedWithItsReason) {
    TempFolder folder;
    const std::string levels = folder.path().string();
    struct Row {
        std::vector<std::string> arguments;
        std::string levelFolder;
        bool help;
        std::string error;
    };
    const Row rows[] = {
        {{}, "", false, ""},
        {{"--levels", levels}, levels, false, ""},
        {{"--help"}, "", true, ""},
        {{"-h", "--levels", levels}, levels, true, ""},
        {{"--levels"}, "", false, "--levels needs a folder"},
        {{"--levels", levels + "/missing"},
         levels + "/missing",
         false,
         "--levels: there is no folder " + levels + "/missing"},
        {{"--fullscreen"}, "", false, "unknown argument \"--fullscreen\""},
    };
    for (const Row& row : rows) {
        std::vector<const char*> argv{"rollavortex"};
        for (const std::string& argument : row.arguments) {
            argv.push_back(argument.c_str());
        }
        const CommandLine line = parseCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(line.levelFolder.string(), row.levelFolder) << row.error;
        EXPECT_EQ(line.help, row.help) << row.error;
        EXPECT_EQ(line.error, row.error);
    }
    EXPECT_NE(commandLineUsage().find("--levels DIR"), std::string::npos);
}
