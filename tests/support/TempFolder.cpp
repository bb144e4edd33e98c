#include "TempFolder.hpp"

#include <cstdlib>
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

ScopedDataFolder::ScopedDataFolder(const std::filesystem::path& folder, const char* variable)
    : variable(variable) {
    const char* old = std::getenv(variable);
    if (old != nullptr) {
        previous = old;
    }
    setenv(variable, folder.c_str(), 1);
}

ScopedDataFolder::~ScopedDataFolder() {
    if (previous) {
        setenv(variable, previous->c_str(), 1);
    } else {
        unsetenv(variable);
    }
}
