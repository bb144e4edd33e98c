#include "level/TileImages.hpp"

#include "app/files/Files.hpp"

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

int TileImages::ofTile(int tileId) {
    // Tile ids and picture indices share names: each is written with its own.
    switch (tileId) {
        case TileId::ballStart:
            return TileImages::player;
        case TileId::finish:
            return TileImages::finish;
        case TileId::wall:
        case TileId::bridgeBlock:
        case TileId::fixedWall:
            return TileImages::wall;
        case TileId::breakable:
            return TileImages::breakable;
        case TileId::slopeUpperRight:
            return TileImages::wallUpperRight;
        case TileId::slopeLowerRight:
            return TileImages::wallLowerRight;
        case TileId::slopeLowerLeft:
            return TileImages::wallLowerLeft;
        case TileId::slopeUpperLeft:
            return TileImages::wallUpperLeft;
        case TileId::looseDiamond:
            return TileImages::looseDiamond;
        case TileId::looseBall:
            return TileImages::looseBall;
        case TileId::penalty:
            return TileImages::penalty;
        default:
            break;
    }
    if (tileId >= TileId::firstSwitch && tileId <= TileId::lastSwitch) {
        return TileImages::firstSwitch + (tileId - TileId::firstSwitch);
    }
    if (tileId >= TileId::firstTarget && tileId <= TileId::lastTarget) {
        return TileImages::firstTarget + (tileId - TileId::firstTarget);
    }
    return -1;
}
