#include "app/files/Files.hpp"

#include <filesystem>

#include "sim/base/DataFolder.hpp"

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
