#include <gtest/gtest.h>

#include <vector>

#include "app/CommandLine.hpp"

TEST(CommandLine, ReadsTheReplayFileAndHelpAndRefusesTheRest) {
    struct Case {
        std::vector<const char*> arguments;
        const char* replayFile;
        bool help;
        const char* error;
    };
    for (const Case& c : std::vector<Case>{
             {{}, "", false, ""},
             {{"--replay", "best.run"}, "best.run", false, ""},
             {{"--replay=runs/a b.run"}, "runs/a b.run", false, ""},
             {{"--replay", "-h"}, "-h", false, ""},  // a file may be named anything
             {{"--help"}, "", true, ""},
             {{"-h", "--replay", "x.run"}, "x.run", true, ""},
             {{"--replay"}, "", false, "--replay needs a file"},
             {{"--replay="}, "", false, "--replay needs a file"},
             {{"--replay", ""}, "", false, "--replay needs a file"},
             {{"best.run"}, "", false, "unknown argument: best.run"},
             {{"--replay", "a.run", "--fullscreen"},
              "a.run",
              false,
              "unknown argument: --fullscreen"},
         }) {
        const CommandLine line = CommandLine::read(c.arguments);
        SCOPED_TRACE(c.arguments.empty() ? "(none)" : c.arguments.front());
        EXPECT_EQ(line.replayFile, c.replayFile);
        EXPECT_EQ(line.help, c.help);
        EXPECT_EQ(line.error, c.error);
    }
}
