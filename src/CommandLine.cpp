#include "CommandLine.hpp"

#include <string_view>

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc && line.error.empty(); ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            line.help = true;
        } else if (argument == "--levels" && i + 1 < argc) {
            line.levelFolder = argv[++i];
            std::error_code error;
            if (!std::filesystem::is_directory(line.levelFolder, error)) {
                line.error = "--levels: there is no folder " + line.levelFolder.string();
            }
        } else if (argument == "--levels") {
            line.error = "--levels needs a folder";
        } else {
            line.error = "unknown argument \"" + std::string(argument) + "\"";
        }
    }
    return line;
}

std::string commandLineUsage() {
    return "usage: rollavortex [--levels DIR]\n"
           "  --levels DIR  list the levels and level packs of DIR after the game's own\n"
           "                (default: $XDG_DATA_HOME/rollavortex/levels)\n";
}
