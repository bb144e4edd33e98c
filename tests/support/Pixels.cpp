#include "Pixels.hpp"

#include <algorithm>
#include <cstdlib>

int countPixels(const sf::Image& picture, const sf::FloatRect& logical,
                const std::function<bool(sf::Color)>& test) {
    const sf::Vector2u size = picture.getSize();
    const float sx = static_cast<float>(size.x) / wholeScreen.width;
    const float sy = static_cast<float>(size.y) / wholeScreen.height;
    const auto x0 = static_cast<unsigned>(logical.left * sx);
    const auto y0 = static_cast<unsigned>(logical.top * sy);
    const auto x1 = std::min(size.x, static_cast<unsigned>((logical.left + logical.width) * sx));
    const auto y1 = std::min(size.y, static_cast<unsigned>((logical.top + logical.height) * sy));
    int count = 0;
    for (unsigned y = y0; y < y1; ++y) {
        for (unsigned x = x0; x < x1; ++x) {
            count += test(picture.getPixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

bool isSky(sf::Color c) {
    return std::abs(c.r - 110) <= 3 && std::abs(c.g - 144) <= 3 && std::abs(c.b - 205) <= 3;
}

bool isWhitish(sf::Color c) {
    return c.r > 220 && c.g > 220 && c.b > 220;
}

bool isLighterThanSky(sf::Color c) {
    return c.r > 180 && c.g > 195 && c.b > 220;
}

bool isGreenish(sf::Color c) {
    return c.g > 180 && c.r < 100 && c.b < 100;
}

bool isReddish(sf::Color c) {
    return c.r > 180 && c.g < 80 && c.b < 80;
}
