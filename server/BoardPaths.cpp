#include "BoardPaths.hpp"

#include <charconv>

namespace {

constexpr std::size_t kMostDigits = 6;

}  // namespace

std::optional<int> plainNumber(std::string_view text) {
    if (text.empty() || text.size() > kMostDigits || (text[0] == '0' && text.size() > 1)) {
        return std::nullopt;
    }
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || text[0] == '-') {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string_view> pathSegments(std::string_view rest) {
    std::vector<std::string_view> segments;
    for (std::size_t start = 0;;) {
        const std::size_t slash = rest.find('/', start);
        segments.push_back(rest.substr(start, slash - start));
        if (slash == std::string_view::npos) {
            return segments;
        }
        start = slash + 1;
    }
}

const ServerLevel* knownLevel(const ServerLevels& levels, std::string_view modePart,
                              std::string_view levelPart) {
    const auto mode = plainNumber(modePart);
    const auto identity = LevelIdentity::fromText(levelPart);
    return mode && identity ? levels.find(*mode, *identity) : nullptr;
}

std::string tablePath(const ServerLevel& level) {
    return "/table/" + std::to_string(level.mode) + "/" + level.identity.text();
}

std::string recordPath(const ServerLevel& level, std::size_t position) {
    return "/run/" + std::to_string(level.mode) + "/" + level.identity.text() + "/" +
           std::to_string(position);
}

std::string runFilePath(const ServerLevel& level, std::size_t position, std::string_view sha256) {
    return recordPath(level, position) + "/" + std::string(sha256) + ".run";
}
