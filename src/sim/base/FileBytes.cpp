#include "sim/base/FileBytes.hpp"

#include <algorithm>
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

std::optional<std::string> readFileUpTo(const std::filesystem::path& path, std::size_t limit,
                                        std::string& why) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        // A folder or a device would open like a file and read as nonsense.
        why = std::filesystem::exists(path, error) ? "it is no file but a folder or device"
                                                   : "there is no such file";
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    std::string bytes(error ? 0 : std::min<std::uintmax_t>(size, limit) + 1, '\0');
    std::ifstream in(path, std::ios::binary);
    if (!error) {
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    if (error || !in.is_open() || in.bad()) {
        why = "the file cannot be read";
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}
