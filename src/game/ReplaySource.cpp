#include "game/ReplaySource.hpp"

#include "online/HighscoreProtocol.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/base/FileBytes.hpp"
#include "sim/level/LevelList.hpp"

ReplaySource replayOfFile(const std::filesystem::path& path, std::string whose) {
    ReplaySource source;
    source.whose = std::move(whose);
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!error && size > HighscoreProtocol::kMaxRunTextBytes) {
        source.problem = path.string() + " is too large to be a run";
        return source;
    }
    const auto bytes = readWholeFile(path.string());
    if (!bytes) {
        source.problem = "cannot read " + path.string();
        return source;
    }
    source.runText.assign(bytes->data(), bytes->size());
    return source;
}

std::string levelFileOfRun(const RecordedRun& run) {
    for (const LevelEntry& level : levelsOf(run.mode)) {
        if (level.levelId == run.levelId) {
            return dataPath(level.file);
        }
    }
    return {};
}
