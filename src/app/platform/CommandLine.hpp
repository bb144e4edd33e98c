#pragma once

#include <filesystem>
#include <span>
#include <string>

// What the game was asked for on its command line:
//   rollavortex [--replay FILE] [--levels DIR] [--help]
// Each option is one field here and one branch of read.
struct CommandLine {
    std::string replayFile;             // --replay FILE or --replay=FILE: shown at once
    std::filesystem::path levelFolder;  // --levels DIR; empty: the user data folder's levels/
    bool help = false;                  // --help or -h: the usage, and no game
    std::string error;                  // what was not understood; the game does not start

    // The arguments after the program's name.
    static CommandLine read(std::span<const char* const> arguments);
};

// The usage, for --help and after an error.
extern const char* const commandLineUsage;
