#include "game/PersonalRuns.hpp"

#include <cstdio>

#include "app/files/UserFolders.hpp"
#include "sim/base/FileReplace.hpp"
#include "sim/run/LevelStamp.hpp"
#include "sim/run/RunText.hpp"

namespace {

void ignoring(const std::filesystem::path& path, const std::string& why) {
    std::fprintf(stderr, "rollavortex: ignoring %s: %s\n", path.c_str(), why.c_str());
}

// Why the run cannot be this level's run, or empty.
std::string mismatch(const RecordedRun& run, GameMode mode, const LevelIdentity& level,
                     const std::string& levelSha256) {
    if (run.mode != mode || identityOfRun(run) != level) {
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

std::filesystem::path PersonalRuns::pathOf(GameMode mode, const LevelIdentity& level) const {
    return folder / (std::to_string(mode) + "-" + level.text() + ".run");
}

std::optional<RecordedRun> PersonalRuns::load(GameMode mode, const LevelIdentity& level,
                                              const std::string& levelSha256) const {
    if (folder.empty()) {
        return std::nullopt;
    }
    const std::filesystem::path path = pathOf(mode, level);
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
    problem = mismatch(run, mode, level, levelSha256);
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
    return replaceFileContents(pathOf(run.mode, identityOfRun(run)).string(), formatRun(run));
}

bool PersonalRuns::keepIfFaster(const RecordedRun& run) const {
    const std::optional<RecordedRun> stored = load(run.mode, identityOfRun(run), run.levelSha256);
    if (stored && stored->finishMilliseconds <= run.finishMilliseconds) {
        return false;
    }
    return save(run);
}
