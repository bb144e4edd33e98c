#include <cstdio>

#include "CommandLine.hpp"
#include "GameEntry.hpp"

int main(int argc, char** argv) {
    const CommandLine line = parseCommandLine(argc, argv);
    if (!line.error.empty()) {
        std::fprintf(stderr, "rollavortex: %s\n%s", line.error.c_str(), commandLineUsage().c_str());
        return 2;
    }
    if (line.help) {
        std::fputs(commandLineUsage().c_str(), stdout);
        return 0;
    }
    return runProgram(line);
}
