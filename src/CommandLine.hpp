#pragma once

#include <filesystem>
#include <string>

// What the game's command line asks for. Each option is one field here and
// one branch of parseCommandLine.
struct CommandLine {
    std::filesystem::path levelFolder;  // --levels DIR; empty: the user data folder's levels/
    bool help = false;                  // --help: print the usage and start nothing
    std::string error;                  // set when the line cannot be followed
};

// Reads the arguments after the program's name.
CommandLine parseCommandLine(int argc, const char* const* argv);

// The usage lines --help prints and a wrong line is answered with.
std::string commandLineUsage();
