#include "BoardPaths.hpp"

#include <charconv>

#include "sim/base/Sha256.hpp"

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

std::optional<LevelIdentity> levelOfPathPart(std::string_view part) {
    if (isSha256Hex(part)) {
        return LevelIdentity::ofFile(std::string(part));
    }
    const auto levelId = plainNumber(part);
    if (!levelId || *levelId == 0) {
        return std::nullopt;
    }
    return LevelIdentity::shipped(*levelId);
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

const LevelEntry* shippedLevel(int mode, const LevelIdentity& level) {
    if (!level.isShipped()) {
        return nullptr;
    }
    for (const LevelEntry& entry : levelsOf(static_cast<GameMode>(mode))) {
        if (entry.levelId == level.id) {
            return &entry;
        }
    }
    return nullptr;
}

std::optional<BoardLevel> knownLevel(std::string_view modePart, std::string_view levelPart) {
    const auto mode = plainNumber(modePart);
    const auto level = levelOfPathPart(levelPart);
    const LevelEntry* entry = mode && level ? shippedLevel(*mode, *level) : nullptr;
    if (entry == nullptr) {
        return std::nullopt;
    }
    return BoardLevel{*mode, *level, entry};
}

std::string levelLogText(const BoardLevel& level) {
    return "mode=" + std::to_string(level.mode) + " level=" + level.level.text();
}

std::string tablePath(int mode, const LevelIdentity& level) {
    return "/table/" + std::to_string(mode) + "/" + level.text();
}

std::string recordPath(int mode, const LevelIdentity& level, std::size_t position) {
    return "/run/" + std::to_string(mode) + "/" + level.text() + "/" + std::to_string(position);
}

std::string runFilePath(int mode, const LevelIdentity& level, std::size_t position,
                        std::string_view sha256) {
    return recordPath(mode, level, position) + "/" + std::string(sha256) + ".run";
}
