#include "sim/base/FileBytes.hpp"

#include <filesystem>
#include <fstream>

std::optional<std::vector<char>> readWholeFile(const std::string& path) {
    // A folder opens like a file here and reports a nonsense size.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return std::nullopt;
    }
    const std::streamoff size = in.tellg();
    if (size < 0) {
        return std::nullopt;
    }
    std::vector<char> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    if (size > 0 && !in.read(bytes.data(), size)) {
        return std::nullopt;
    }
    return bytes;
}
