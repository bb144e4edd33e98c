#include "app/Files.hpp"

#include <filesystem>
#include <fstream>

#include "app/DataFolder.hpp"

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

// SFML's own complaint for a failed load would not say where the game looked
// for its files, so the check happens first and our report names the folder.
bool fileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

bool loadImage(sf::Image& image, const std::string& path) {
    if (!fileExists(path) || !image.loadFromFile(path)) {
        reportUnreadableFile(path);
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
