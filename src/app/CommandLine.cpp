#include "app/CommandLine.hpp"

#include <string_view>

const char* const commandLineUsage =
    "usage: rollavortex [--replay FILE] [--help]\n"
    "  --replay FILE  show the recorded run in FILE (a .run file), then the menus\n"
    "  --help         this text\n";

CommandLine CommandLine::read(std::span<const char* const> arguments) {
    constexpr std::string_view replayOption = "--replay";
    constexpr std::string_view replayWithValue = "--replay=";
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size() && line.error.empty(); ++i) {
        const std::string_view argument = arguments[i] != nullptr ? arguments[i] : "";
        if (argument == "--help" || argument == "-h") {
            line.help = true;
            continue;
        }
        std::string_view file;
        if (argument == replayOption && i + 1 < arguments.size() && arguments[i + 1] != nullptr) {
            file = arguments[++i];
        } else if (argument.starts_with(replayWithValue)) {
            file = argument.substr(replayWithValue.size());
        } else if (argument != replayOption) {
            line.error = "unknown argument: " + std::string(argument);
            break;
        }
        if (file.empty()) {
            line.error = "--replay needs a file";
        }
        line.replayFile = file;
    }
    return line;
}
