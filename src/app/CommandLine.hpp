#pragma once

#include <span>
#include <string>

// What the game was asked for on its command line:
//   rollavortex [--replay FILE] [--help]
struct CommandLine {
    std::string replayFile;  // --replay FILE or --replay=FILE: shown at once
    bool help = false;       // --help or -h: the usage, and no game
    std::string error;       // what was not understood; the game does not start

    // The arguments after the program's name.
    static CommandLine read(std::span<const char* const> arguments);
};

// The usage, for --help and after an error.
extern const char* const commandLineUsage;
