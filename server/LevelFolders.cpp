#include "LevelFolders.hpp"

#include <map>

#include "ServerLog.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/level/LevelFolder.hpp"
#include "sim/run/RecordedRun.hpp"

namespace fs = std::filesystem;

namespace {

// Where a log line quotes a level's file or reasons, at most this much.
constexpr std::size_t kLoggedText = 300;

// A run's header holds at most RecordedRun::maxTextLength printable bytes a
// line: a title or path beyond that is kept printable and cut, at a whole
// UTF-8 character, so the canonical run still reads.
std::string runHeaderText(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = '?';
        }
    }
    if (text.size() <= RecordedRun::maxTextLength) {
        return text;
    }
    std::size_t end = RecordedRun::maxTextLength;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xc0) == 0x80) {
        --end;
    }
    return text.substr(0, end);
}

// The file by its place in `base`: what canonical runs name it by.
std::string placeIn(const fs::path& file, const fs::path& base) {
    const fs::path inside = file.lexically_normal().lexically_relative(base.lexically_normal());
    const bool within = !inside.empty() && *inside.begin() != "..";
    return runHeaderText(within ? inside.generic_string() : file.filename().string());
}

std::string problemsText(const FoundLevel& level) {
    std::string text;
    for (const LevelProblem& problem : level.problems) {
        text += (text.empty() ? "" : "; ") + problem.text();
    }
    return text;
}

class Gathering {
  public:
    // The playable levels of one folder, each hash once; logs what is left
    // out and why.
    void add(const std::vector<FoundLevel>& found, const fs::path& base, const std::string& where) {
        std::size_t kept = 0;
        for (const FoundLevel& level : found) {
            if (!level.playable() || !level.mode) {
                leaveOut(level, problemsText(level));
                continue;
            }
            if (const auto [first, added] = firstFiles.emplace(level.sha256, level.file); !added) {
                leaveOut(level, "the same bytes as " + first->second.string() + ", kept once");
                continue;
            }
            ServerLevel entry;
            entry.mode = *level.mode;
            entry.identity = LevelIdentity::ofFile(level.sha256);
            entry.name = runHeaderText(level.name);
            entry.pack = level.pack;
            entry.file = level.file;
            entry.runFile = placeIn(level.file, base);
            levels.push_back(std::move(entry));
            ++kept;
        }
        logLine(std::to_string(kept) + " custom levels from " + where);
    }

    // The store's keys given to the levels; false when it failed.
    bool giveKeys(ScoreStore& store) {
        std::vector<std::string> sha256s;
        for (const ServerLevel& level : levels) {
            sha256s.push_back(level.identity.sha256);
        }
        const auto keys = store.customLevelKeys(sha256s);
        if (!keys) {
            logLine("cannot give the custom levels their keys: " + store.lastError());
            return false;
        }
        for (std::size_t i = 0; i < levels.size(); ++i) {
            levels[i].key = (*keys)[i];
        }
        return true;
    }

    std::vector<ServerLevel> levels;

  private:
    static void leaveOut(const FoundLevel& level, const std::string& why) {
        logLine("level " + cutForLog(escapeForLog(level.file.string()), kLoggedText) +
                " left out: " + cutForLog(escapeForLog(why), kLoggedText));
    }

    // The file each hash was first found in.
    std::map<std::string, fs::path> firstFiles;
};

}  // namespace

std::optional<ServerLevels> readServerLevels(const std::vector<fs::path>& folders,
                                             ScoreStore& store) {
    Gathering gathering;
    const fs::path data = findDataFolder().folder;
    gathering.add(findPacks(data / "levels"), data, "the packs of the data folder");
    for (const fs::path& given : folders) {
        std::error_code error;
        const fs::path folder = fs::absolute(given, error);
        if (error || !fs::is_directory(folder, error)) {
            logLine("cannot read the levels of " + escapeForLog(given.string()) +
                    ": no such folder");
            return std::nullopt;
        }
        gathering.add(findLevels(folder), folder, escapeForLog(folder.string()));
    }
    if (!gathering.giveKeys(store)) {
        return std::nullopt;
    }
    return ServerLevels(std::move(gathering.levels));
}
