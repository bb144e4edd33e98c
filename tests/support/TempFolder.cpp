#include "TempFolder.hpp"

#include <fstream>
#include <random>
#include <sstream>

TempFolder::TempFolder() {
    std::random_device seed;
    for (;;) {
        root =
            std::filesystem::temp_directory_path() / ("rollavortex-test-" + std::to_string(seed()));
        if (std::filesystem::create_directory(root)) {
            return;
        }
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

std::string slurpFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

ScopedWorkingFolder::ScopedWorkingFolder(const std::filesystem::path& folder)
    : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
}

ScopedWorkingFolder::~ScopedWorkingFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
}
