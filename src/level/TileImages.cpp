#include "level/TileImages.hpp"

#include "app/Files.hpp"

const std::array<const char*, TileImages::count> TileImages::fileNames = {
    "wall.png",
    "finish.png",
    "destroyable.png",
    "player.png",
    "wallupperright.png",
    "walllowerright.png",
    "walllowerleft.png",
    "wallupperleft.png",
    "personalbest.png",
    "colorroundblue.png",
    "colorroundcyan.png",
    "colorroundgreen.png",
    "colorroundpurple.png",
    "colorroundred.png",
    "colorroundyellow.png",
    "switchblue.png",
    "switchcyan.png",
    "switchgreen.png",
    "switchpurple.png",
    "switchred.png",
    "switchyellow.png",
    "swc1.png",
    "swc2.png",
    "swc3.png",
    "swc4.png",
    "swc5.png",
    "swc6.png",
    "swc7.png",
    "swc8.png",
    "swc9.png",
    "dynamicdiamond.png",
    "dynamiccircle.png",
    "star.png",
    "lightsmoke.png",
    "penalty.png",
    "3spenalty.png",
};

bool TileImages::loadImages(const std::string& folder) {
    bool all = true;
    for (int i = 0; i < count; ++i) {
        all = loadImage(images[i], folder + fileNames[i]) && all;
        textures[i].reset();
    }
    return all;
}

void TileImages::createTextures() {
    for (int i = 0; i < count; ++i) {
        textures[i].reset();
        const sf::Vector2u size = images[i].getSize();
        if (size.x == 0 || size.y == 0) {
            continue;
        }
        auto texture = std::make_unique<sf::Texture>();
        if (texture->loadFromImage(images[i])) {
            // The world turns, so every picture is drawn rotated.
            texture->setSmooth(true);
            textures[i] = std::move(texture);
        }
    }
}

const sf::Image& TileImages::image(int index) const {
    return index >= 0 && index < count ? images[index] : noImage;
}

const sf::Texture* TileImages::texture(int index) const {
    return index >= 0 && index < count ? textures[index].get() : nullptr;
}
