// rollavortex-levelc: ASCII level sources to TMX, and the level maker's check.
//
//   levelc SOURCE.txt OUT.tmx             compile one level
//   levelc --check FILE|FOLDER ...        name every problem of level files
//   levelc --all SRC_DIR OUT_DIR          compile every SRC_DIR/*.txt to OUT_DIR/*.tmx
//   levelc --up-to-date SRC_DIR OUT_DIR   exit 1 when an OUT_DIR file differs from its source
//
// Problems are written as "FILE:LINE:COLUMN: reason", the form editors jump to.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "levelc/TmxWriter.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/base/FileBytes.hpp"
#include "sim/level/LevelFolder.hpp"
#include "sim/level/LevelReader.hpp"
#include "sim/level/LevelSource.hpp"

namespace fs = std::filesystem;

namespace {

constexpr int exitProblems = 1;
constexpr int exitUsage = 2;

const char* const usage =
    "usage: rollavortex-levelc SOURCE.txt OUT.tmx\n"
    "       rollavortex-levelc --check FILE|FOLDER ...\n"
    "       rollavortex-levelc --all SOURCE_FOLDER OUT_FOLDER\n"
    "       rollavortex-levelc --up-to-date SOURCE_FOLDER OUT_FOLDER\n";

std::string located(const fs::path& file, const LevelProblem& problem) {
    std::string where = file.string();
    if (problem.line > 0) {
        where += ":" + std::to_string(problem.line);
        if (problem.column > 0) {
            where += ":" + std::to_string(problem.column);
        }
    } else if (problem.cellX >= 0) {
        where += ": tile " + std::to_string(problem.cellX) + ", " + std::to_string(problem.cellY);
    }
    return where + ": " + problem.reason;
}

void report(const fs::path& file, const std::vector<LevelProblem>& problems) {
    for (const LevelProblem& problem : problems) {
        std::cerr << located(file, problem) << '\n';
    }
}

// The tile pictures as the TMX file at `target` sees them: relative inside
// the game's data folder (the shipped files never change with the machine),
// else the installed pictures by their whole path.
std::string imageFolderFor(const fs::path& target) {
    const fs::path images = fs::absolute(dataPath("images")).lexically_normal();
    const fs::path from = fs::absolute(target).parent_path().lexically_normal();
    const fs::path data = images.parent_path();
    const auto inside = from.lexically_relative(data);
    const bool insideData = !inside.empty() && *inside.begin() != "..";
    const fs::path folder = insideData ? images.lexically_relative(from) : images;
    return folder.generic_string() + "/";
}

bool compile(const fs::path& source, const fs::path& target, std::string& tmx) {
    std::string bytes;
    const LevelRead read = readLevelFile(source, bytes);
    const LevelVerdict verdict = judgeLevel(read);
    if (!verdict.problems.empty() || looksLikeXml(bytes)) {
        report(source, verdict.problems.empty()
                           ? std::vector<LevelProblem>{{"this is a TMX file, no source"}}
                           : verdict.problems);
        return false;
    }
    LevelSource level;
    readLevelSource(bytes, level);
    tmx = writeTmx(level, imageFolderFor(target));
    return true;
}

bool writeText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

std::vector<fs::path> sources(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".txt" && entry.path().filename() != "pack.txt") {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

int compileAll(const fs::path& sourceFolder, const fs::path& outFolder, bool compareOnly) {
    const auto files = sources(sourceFolder);
    if (files.empty()) {
        std::cerr << sourceFolder.string() << ": no level sources\n";
        return exitProblems;
    }
    int failures = 0;
    for (const fs::path& source : files) {
        const fs::path target = outFolder / source.stem().concat(".tmx");
        std::string tmx;
        if (!compile(source, target, tmx)) {
            ++failures;
            continue;
        }
        if (compareOnly) {
            std::string why;
            const auto current = readFileUpTo(target, tmx.size(), why);
            if (!current || *current != tmx) {
                std::cerr << target.string() << ": out of date, run levelc --all\n";
                ++failures;
            }
        } else if (!writeText(target, tmx)) {
            std::cerr << target.string() << ": cannot write\n";
            ++failures;
        }
    }
    return failures == 0 ? 0 : exitProblems;
}

// Every level file named, or found in a folder named; each problem on its own
// line, and one line for each level that is fine.
int check(const std::vector<std::string>& names) {
    int broken = 0;
    for (const std::string& name : names) {
        std::error_code error;
        const std::vector<FoundLevel> levels =
            fs::is_directory(name, error) ? findLevels(name) : std::vector{examineLevelFile(name)};
        if (levels.empty()) {
            std::cerr << name << ": no level files\n";
            ++broken;
        }
        for (const FoundLevel& level : levels) {
            if (!level.playable()) {
                report(level.file, level.problems);
                ++broken;
                continue;
            }
            std::cout << level.file.string() << ": "
                      << (*level.mode == raceMode ? "Race" : "Puzzle") << " level \"" << level.name
                      << "\", " << level.sha256 << '\n';
        }
    }
    return broken == 0 ? 0 : exitProblems;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "--check") {
        return check(std::vector<std::string>(args.begin() + 1, args.end()));
    }
    if (args.size() == 3 && (args[0] == "--all" || args[0] == "--up-to-date")) {
        return compileAll(args[1], args[2], args[0] == "--up-to-date");
    }
    if (args.size() == 2 && args[0][0] != '-') {
        std::string tmx;
        if (!compile(args[0], args[1], tmx)) {
            return exitProblems;
        }
        if (!writeText(args[1], tmx)) {
            std::cerr << args[1] << ": cannot write\n";
            return exitProblems;
        }
        return 0;
    }
    std::cerr << usage;
    return exitUsage;
}
