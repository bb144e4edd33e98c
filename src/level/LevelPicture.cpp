#include "level/LevelPicture.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "level/TileImages.hpp"
#include "sim/level/TileKinds.hpp"
#include "sim/level/TileMap.hpp"

namespace {

constexpr int cellPixels = 64;
constexpr int samplesPerAxis = 4;
const sf::Color sky(110, 144, 205);

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

// Paints `picture` over `under`, its centre on the cell centre, one picture
// pixel per level pixel as in the game; (dx, dy) is the offset from the cell
// centre in level pixels.
void paintOver(Rgba& under, const sf::Image& picture, float dx, float dy) {
    const sf::Vector2u size = picture.getSize();
    const float px = std::floor(static_cast<float>(size.x / 2) + dx);
    const float py = std::floor(static_cast<float>(size.y / 2) + dy);
    if (px < 0 || py < 0 || px >= static_cast<float>(size.x) || py >= static_cast<float>(size.y)) {
        return;
    }
    const sf::Color c = picture.getPixel(static_cast<unsigned>(px), static_cast<unsigned>(py));
    const float alpha = static_cast<float>(c.a) / 255.0f;
    under.r = under.r * (1 - alpha) + static_cast<float>(c.r) * alpha;
    under.g = under.g * (1 - alpha) + static_cast<float>(c.g) * alpha;
    under.b = under.b * (1 - alpha) + static_cast<float>(c.b) * alpha;
}

int tileAt(const TileMap& map, int column, int row) {
    const std::int64_t index = static_cast<std::int64_t>(row) * map.width + column;
    if (index < 0 || index >= static_cast<std::int64_t>(map.tiles.size())) {
        return TileId::empty;
    }
    return map.tiles[static_cast<std::size_t>(index)];
}

// The level's colour at a level pixel (x, y down from the top-left cell's
// top-left corner).
Rgba levelColour(const TileMap& map, const TileImages& images, float x, float y) {
    Rgba colour{static_cast<float>(sky.r), static_cast<float>(sky.g), static_cast<float>(sky.b),
                255};
    const int column = static_cast<int>(std::floor(x / cellPixels));
    const int row = static_cast<int>(std::floor(y / cellPixels));
    if (column < 0 || row < 0 || column >= map.width || row >= map.height) {
        return colour;
    }
    const int id = tileAt(map, column, row);
    const int picture = TileImages::ofTile(id);
    if (picture < 0) {
        return colour;
    }
    const float dx = x - (static_cast<float>(column) + 0.5f) * cellPixels;
    const float dy = y - (static_cast<float>(row) + 0.5f) * cellPixels;
    paintOver(colour, images.image(picture), dx, dy);
    if (id >= TileId::firstSwitch && id <= TileId::lastSwitch) {
        paintOver(colour, images.image(TileImages::firstSwitchFrame), dx, dy);
    }
    return colour;
}

}  // namespace

sf::Image renderLevelPicture(const TileMap& map, const TileImages& images, unsigned width,
                             unsigned height) {
    sf::Image out;
    out.create(width, height, sky);
    const int columns = std::max(map.width, 0);
    const int rows = std::max(map.height, 0);
    if (columns == 0 || rows == 0) {
        return out;
    }
    const float levelWidth = static_cast<float>(columns) * cellPixels;
    const float levelHeight = static_cast<float>(rows) * cellPixels;
    const float scale =
        std::min(static_cast<float>(width) / levelWidth, static_cast<float>(height) / levelHeight);
    const float left = (static_cast<float>(width) - levelWidth * scale) / 2.0f;
    const float top = (static_cast<float>(height) - levelHeight * scale) / 2.0f;
    for (unsigned oy = 0; oy < height; ++oy) {
        for (unsigned ox = 0; ox < width; ++ox) {
            Rgba sum;
            for (int sy = 0; sy < samplesPerAxis; ++sy) {
                for (int sx = 0; sx < samplesPerAxis; ++sx) {
                    const float fx = static_cast<float>(ox) + (sx + 0.5f) / samplesPerAxis;
                    const float fy = static_cast<float>(oy) + (sy + 0.5f) / samplesPerAxis;
                    const Rgba c =
                        levelColour(map, images, (fx - left) / scale, (fy - top) / scale);
                    sum.r += c.r;
                    sum.g += c.g;
                    sum.b += c.b;
                }
            }
            const float n = samplesPerAxis * samplesPerAxis;
            out.setPixel(ox, oy,
                         sf::Color(static_cast<std::uint8_t>(std::lround(sum.r / n)),
                                   static_cast<std::uint8_t>(std::lround(sum.g / n)),
                                   static_cast<std::uint8_t>(std::lround(sum.b / n))));
        }
    }
    return out;
}
