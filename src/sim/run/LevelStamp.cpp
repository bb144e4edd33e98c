#include "sim/run/LevelStamp.hpp"

#include <filesystem>

#include "sim/base/DataFolder.hpp"
#include "sim/base/FileBytes.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/play/LevelSimulation.hpp"

bool stampLevelFile(RecordedRun& run, const std::string& levelFile, int levelId) {
    // A run names its level by its place in the data folder, so it replays
    // wherever the game or the server finds that folder; a path relative to
    // the working folder (a tool's argument) is placed there too.
    std::error_code error;
    const auto whole = [&](const std::filesystem::path& path) {
        return std::filesystem::absolute(path, error).lexically_normal();
    };
    const auto inData = whole(levelFile).lexically_relative(whole(findDataFolder().folder));
    const bool insideData = !inData.empty() && *inData.begin() != "..";
    run.levelFile = insideData ? inData.generic_string() : levelFile;
    run.levelId = levelId;
    run.physicsVersion = LevelSimulation::physicsVersion;
    run.levelSha256.clear();
    // A path as given, else a name inside the data folder, as runs write it.
    auto bytes = readWholeFile(levelFile);
    if (!bytes && std::filesystem::path(levelFile).is_relative()) {
        bytes = readWholeFile(dataPath(levelFile));
    }
    if (!bytes) {
        return false;
    }
    run.levelSha256 = sha256Hex(std::string_view(bytes->data(), bytes->size()));
    return true;
}

LevelIdentity identityOfRun(const RecordedRun& run) {
    return run.levelId > 0 ? LevelIdentity::shipped(run.levelId)
                           : LevelIdentity::ofFile(run.levelSha256);
}

std::string stampProblem(const RecordedRun& run, std::string_view levelSha256) {
    if (run.physicsVersion != LevelSimulation::physicsVersion) {
        return "run is for physics version " + std::to_string(run.physicsVersion) +
               ", not version " + std::to_string(LevelSimulation::physicsVersion);
    }
    if (run.levelSha256 != levelSha256) {
        return "run is for another version of the level";
    }
    return {};
}
