#include "app/platform/CommandLine.hpp"

#include <string_view>

const char* const commandLineUsage =
    "usage: rollavortex [--replay FILE] [--levels DIR] [--help]\n"
    "  --replay FILE  show the recorded run in FILE (a .run file), then the menus\n"
    "  --levels DIR   list the levels and level packs of DIR after the game's own\n"
    "                 (default: $XDG_DATA_HOME/rollavortex/levels)\n"
    "  --help         this text\n";

namespace {

// The value of OPTION VALUE or OPTION=VALUE at `i`, moving `i` past it; empty
// when the argument is not that option, or it has no value (`missing`).
std::string_view valueOf(std::string_view option, std::span<const char* const> arguments,
                         std::size_t& i, bool& matched) {
    const std::string_view argument = arguments[i] != nullptr ? arguments[i] : "";
    const std::string withValue = std::string(option) + "=";
    matched = true;
    if (argument == option) {
        if (i + 1 < arguments.size() && arguments[i + 1] != nullptr) {
            return arguments[++i];
        }
        return {};
    }
    if (argument.starts_with(withValue)) {
        return argument.substr(withValue.size());
    }
    matched = false;
    return {};
}

}  // namespace

CommandLine CommandLine::read(std::span<const char* const> arguments) {
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size() && line.error.empty(); ++i) {
        const std::string_view argument = arguments[i] != nullptr ? arguments[i] : "";
        if (argument == "--help" || argument == "-h") {
            line.help = true;
            continue;
        }
        bool matched = false;
        if (const std::string_view file = valueOf("--replay", arguments, i, matched); matched) {
            line.replayFile = file;
            line.error = file.empty() ? "--replay needs a file" : "";
            continue;
        }
        if (const std::string_view folder = valueOf("--levels", arguments, i, matched); matched) {
            line.levelFolder = folder;
            std::error_code error;
            if (folder.empty()) {
                line.error = "--levels needs a folder";
            } else if (!std::filesystem::is_directory(line.levelFolder, error)) {
                line.error = "--levels: there is no folder " + line.levelFolder.string();
            }
            continue;
        }
        line.error = "unknown argument: " + std::string(argument);
    }
    return line;
}
