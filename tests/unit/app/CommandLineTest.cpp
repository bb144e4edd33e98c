#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.hpp"
#include "app/platform/CommandLine.hpp"

TEST(CommandLine, EachLineIsFollowedOrRefusedWithItsReason) {
    TempFolder folder;
    const std::string levels = folder.path().string();
    const std::string missing = levels + "/missing";
    struct Row {
        std::vector<std::string> arguments;
        std::string replayFile;
        std::string levelFolder;
        bool help;
        std::string error;
    };
    const Row rows[] = {
        {{}, "", "", false, ""},
        {{"--replay", "best.run"}, "best.run", "", false, ""},
        {{"--replay=runs/a b.run"}, "runs/a b.run", "", false, ""},
        {{"--replay", "-h"}, "-h", "", false, ""},  // a file may be named anything
        {{"--levels", levels, "--replay", "x.run"}, "x.run", levels, false, ""},
        {{"--levels=" + levels}, "", levels, false, ""},
        {{"-h", "--levels", levels}, "", levels, true, ""},
        {{"--help"}, "", "", true, ""},
        {{"--replay"}, "", "", false, "--replay needs a file"},
        {{"--replay="}, "", "", false, "--replay needs a file"},
        {{"--levels"}, "", "", false, "--levels needs a folder"},
        {{"--levels", missing}, "", missing, false, "--levels: there is no folder " + missing},
        {{"best.run"}, "", "", false, "unknown argument: best.run"},
        {{"--replay", "a.run", "--fullscreen"},
         "a.run",
         "",
         false,
         "unknown argument: --fullscreen"},
    };
    for (const Row& row : rows) {
        std::vector<const char*> arguments;
        for (const std::string& argument : row.arguments) {
            arguments.push_back(argument.c_str());
        }
        const CommandLine line = CommandLine::read(arguments);
        SCOPED_TRACE(row.arguments.empty() ? "(none)" : row.arguments.front());
        EXPECT_EQ(line.replayFile, row.replayFile);
        EXPECT_EQ(line.levelFolder.string(), row.levelFolder);
        EXPECT_EQ(line.help, row.help);
        EXPECT_EQ(line.error, row.error);
    }
    EXPECT_NE(std::string(commandLineUsage).find("--levels DIR"), std::string::npos);
}
