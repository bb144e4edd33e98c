// levelc: ASCII level sources to TMX.
//
//   levelc SOURCE.txt OUT.tmx         compile one level
//   levelc --all SRC_DIR OUT_DIR      compile every SRC_DIR/*.txt to OUT_DIR/*.tmx
//   levelc --check SRC_DIR OUT_DIR    exit 1 when any OUT_DIR file differs from its source
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "levelc/LevelSource.hpp"
#include "levelc/TmxWriter.hpp"

namespace fs = std::filesystem;

namespace {

bool readText(const fs::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    text = bytes.str();
    return true;
}

bool compile(const fs::path& source, std::string& tmx) {
    std::string text;
    if (!readText(source, text)) {
        std::cerr << source.string() << ": cannot read\n";
        return false;
    }
    LevelSource level;
    std::string error;
    if (!parseLevelSource(text, level, error)) {
        std::cerr << source.string() << ": " << error << "\n";
        return false;
    }
    tmx = writeTmx(level);
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
        if (entry.path().extension() == ".txt") {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

int compileAll(const fs::path& sourceFolder, const fs::path& outFolder, bool checkOnly) {
    const auto files = sources(sourceFolder);
    if (files.empty()) {
        std::cerr << sourceFolder.string() << ": no level sources\n";
        return 1;
    }
    int failures = 0;
    for (const fs::path& source : files) {
        std::string tmx;
        if (!compile(source, tmx)) {
            ++failures;
            continue;
        }
        const fs::path target = outFolder / source.stem().concat(".tmx");
        if (checkOnly) {
            std::string current;
            if (!readText(target, current) || current != tmx) {
                std::cerr << target.string() << ": out of date, run levelc --all\n";
                ++failures;
            }
        } else if (!writeText(target, tmx)) {
            std::cerr << target.string() << ": cannot write\n";
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && (args[0] == "--all" || args[0] == "--check")) {
        return compileAll(args[1], args[2], args[0] == "--check");
    }
    if (args.size() == 2) {
        std::string tmx;
        if (!compile(args[0], tmx)) {
            return 1;
        }
        return writeText(args[1], tmx) ? 0 : 1;
    }
    std::cerr << "usage: levelc SOURCE.txt OUT.tmx | --all SRC OUT | --check SRC OUT\n";
    return 2;
}
