#include "ServerLevels.hpp"

#include "LevelFiles.hpp"
#include "sim/base/FileBytes.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/level/LevelList.hpp"
#include "sim/level/TmxReader.hpp"

std::string ServerLevel::shownName() const {
    return pack.empty() ? name : pack + ": " + name;
}

RunClaim ServerLevel::claim(float seconds) const {
    RunClaim claim(static_cast<GameMode>(mode), identity.id, seconds);
    if (!isShipped()) {
        claim.levelName = name;
        claim.levelFile = runFile;
    }
    return claim;
}

ServerLevels::ServerLevels(std::vector<ServerLevel> custom) {
    for (const GameMode mode : {raceMode, puzzleMode}) {
        for (const LevelEntry& entry : levelsOf(mode)) {
            ServerLevel level;
            level.mode = mode;
            level.key = entry.levelId;
            level.identity = LevelIdentity::shipped(entry.levelId);
            level.name = entry.name;
            level.runFile = entry.file;
            levels.push_back(std::move(level));
        }
    }
    for (ServerLevel& level : custom) {
        levels.push_back(std::move(level));
    }
}

const ServerLevel* ServerLevels::find(int mode, const LevelIdentity& identity) const {
    for (const ServerLevel& level : levels) {
        if (level.mode == mode && level.identity == identity) {
            return &level;
        }
    }
    return nullptr;
}

const ServerLevel* ServerLevels::byKey(int mode, int key) const {
    for (const ServerLevel& level : levels) {
        if (level.mode == mode && level.key == key) {
            return &level;
        }
    }
    return nullptr;
}

std::string ServerLevels::logText(int mode, int key) const {
    const ServerLevel* level = byKey(mode, key);
    return "mode=" + std::to_string(mode) +
           " level=" + (level ? level->identity.text() : std::to_string(key));
}

CustomLevelKeys ServerLevels::customKeys() const {
    return [this](int mode, const std::string& sha256) -> std::optional<int> {
        const ServerLevel* level = find(mode, LevelIdentity::ofFile(sha256));
        return level ? std::optional(level->key) : std::nullopt;
    };
}

std::optional<std::string> ServerLevels::fileBytes(const ServerLevel& level) const {
    if (level.isShipped()) {
        return levelFileBytes(level.mode, level.key);
    }
    std::string why;
    auto bytes = readFileUpTo(level.file, TmxLimits::maxFileBytes, why);
    if (!bytes || sha256Hex(*bytes) != level.identity.sha256) {
        return std::nullopt;
    }
    return bytes;
}
