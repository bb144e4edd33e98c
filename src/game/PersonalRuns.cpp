#include "game/PersonalRuns.hpp"

#include <cstdio>

#include "app/UserDataFolder.hpp"
#include "sim/base/FileReplace.hpp"
#include "sim/run/LevelStamp.hpp"
#include "sim/run/RunText.hpp"

namespace {

void ignoring(const std::filesystem::path& path, const std::string& why) {
    std::fprintf(stderr, "rollavortex: ignoring %s: %s\n", path.c_str(), why.c_str());
}

// Why the run cannot be this level's run, or empty.
std::string mismatch(const RecordedRun& run, GameMode mode, int levelId,
                     const std::string& levelSha256) {
    if (run.mode != mode || run.levelId != levelId) {
        return "run is for another level";
    }
    return stampProblem(run, levelSha256);
}

}  // namespace

std::filesystem::path PersonalRuns::defaultFolder() {
    const std::filesystem::path data = userDataFolder();
    return data.empty() ? data : data / "runs";
}

PersonalRuns::PersonalRuns(std::filesystem::path folder) : folder(std::move(folder)) {}

std::filesystem::path PersonalRuns::pathOf(GameMode mode, int levelId) const {
    return folder / (std::to_string(mode) + "-" + std::to_string(levelId) + ".run");
}

std::optional<RecordedRun> PersonalRuns::load(GameMode mode, int levelId,
                                              const std::string& levelSha256) const {
    if (folder.empty()) {
        return std::nullopt;
    }
    const std::filesystem::path path = pathOf(mode, levelId);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return std::nullopt;
    }
    RecordedRun run;
    std::string problem;
    if (!readRunFile(path.string(), run, problem)) {
        ignoring(path, problem);
        return std::nullopt;
    }
    problem = mismatch(run, mode, levelId, levelSha256);
    if (!problem.empty()) {
        ignoring(path, problem);
        return std::nullopt;
    }
    return run;
}

bool PersonalRuns::save(const RecordedRun& run) const {
    if (folder.empty()) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return false;
    }
    return replaceFileContents(pathOf(run.mode, run.levelId).string(), formatRun(run));
}

bool PersonalRuns::keepIfFaster(const RecordedRun& run) const {
    const std::optional<RecordedRun> stored = load(run.mode, run.levelId, run.levelSha256);
    if (stored && stored->finishMilliseconds <= run.finishMilliseconds) {
        return false;
    }
    return save(run);
}
