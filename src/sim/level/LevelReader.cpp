#include "sim/level/LevelReader.hpp"

#include "sim/base/FileBytes.hpp"
#include "sim/level/LevelCheck.hpp"
#include "sim/level/LevelSource.hpp"

namespace {

LevelRead readSource(std::string_view bytes) {
    LevelRead read;
    LevelSource source;
    read.problems = readLevelSource(bytes, source);
    if (!read.problems.empty()) {
        return read;
    }
    TmxLevel level;
    level.map.width = source.width;
    level.map.height = source.height;
    level.map.tiles.assign(source.tiles.begin(), source.tiles.end());
    level.title = std::move(source.title);
    level.mode = std::move(source.mode);
    read.level = std::move(level);
    read.firstMapLine = source.firstMapLine;
    return read;
}

LevelRead readMap(std::string_view bytes) {
    TmxRead tmx = readTmx(bytes);
    LevelRead read;
    if (tmx.level) {
        read.level = std::move(tmx.level);
    } else {
        read.problems.push_back({std::move(tmx.refusal.reason), tmx.refusal.line});
    }
    return read;
}

LevelRead refused(std::string reason) {
    LevelRead read;
    read.problems.push_back({std::move(reason)});
    return read;
}

}  // namespace

LevelRead readLevel(std::string_view bytes) {
    return looksLikeXml(bytes) ? readMap(bytes) : readSource(bytes);
}

LevelRead readLevelFile(const std::filesystem::path& path, std::string& bytes) {
    std::string why;
    std::optional<std::string> read = readFileUpTo(path, TmxLimits::maxFileBytes, why);
    bytes = read ? std::move(*read) : std::string();
    if (!read) {
        return refused(std::move(why));
    }
    if (path.extension() == ".tmx" && !looksLikeXml(bytes)) {
        return refused("the file is no XML: a .tmx level is a map of the tile editor");
    }
    // The map reader says so of a file too large; a source must be told.
    if (bytes.size() > TmxLimits::maxFileBytes) {
        return refused("the file is larger than 16 MiB");
    }
    return readLevel(bytes);
}

LevelVerdict judgeLevel(const LevelRead& read) {
    LevelVerdict verdict;
    if (!read.level) {
        verdict.problems = read.problems;
        return verdict;
    }
    const TmxLevel& level = *read.level;
    verdict.mode = levelModeOf(level.mode, level.map);
    if (!verdict.mode) {
        verdict.problems.push_back(
            {"the mode \"" + level.mode + "\" is neither Race nor Puzzle (nor 1 or 2)"});
        return verdict;
    }
    verdict.problems = checkLevelMap(level.map, *verdict.mode);
    if (read.firstMapLine > 0) {
        for (LevelProblem& problem : verdict.problems) {
            if (problem.cellY >= 0) {
                problem.line = read.firstMapLine + problem.cellY;
                problem.column = problem.cellX + 1;
            }
        }
    }
    return verdict;
}
