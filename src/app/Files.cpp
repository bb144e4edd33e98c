#include "app/Files.hpp"

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

namespace {

// SFML prints its own complaint for a failed load; a missing picture is an
// ordinary outcome here, so the check happens first and quietly.
bool fileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

bool loadImage(sf::Image& image, const std::string& path) {
    if (!fileExists(path) || !image.loadFromFile(path)) {
        image = sf::Image();
        return false;
    }
    return true;
}

bool loadTexture(sf::Texture& texture, const std::string& path) {
    sf::Image image;
    if (!loadImage(image, path) || !texture.loadFromImage(image)) {
        return false;
    }
    texture.setSmooth(true);
    return true;
}
