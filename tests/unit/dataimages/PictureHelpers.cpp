#include "PictureHelpers.hpp"

#include <algorithm>

std::vector<std::string> gamePictureNames() {
    std::vector<std::string> names = {
        "3DLogo512Final.png", "3spenalty.png",      "bighead/bodyred.png",
        "bighead/mouth.png",  "countdown1.png",     "countdown2.png",
        "countdown3.png",     "destroyable.png",    "dynamiccircle.png",
        "dynamicdiamond.png", "finish.png",         "lightsmoke.png",
        "mouthgrin.png",      "penalty.png",        "personalbest.png",
        "player.png",         "rvlogo.png",         "scorefont/colon.png",
        "scorefont/dot.png",  "star.png",           "time.png",
        "wall.png",           "walllowerleft.png",  "walllowerright.png",
        "wallupperleft.png",  "wallupperright.png",
    };
    for (const char* colour : {"blue", "cyan", "green", "purple", "red", "yellow"}) {
        names.push_back(std::string("body") + colour + ".png");
        names.push_back(std::string("colorround") + colour + ".png");
        names.push_back(std::string("switch") + colour + ".png");
    }
    for (int i = 1; i <= 9; ++i) {
        const std::string n = std::to_string(i);
        names.push_back("eyel" + n + ".png");
        names.push_back("eyer" + n + ".png");
        names.push_back("bighead/eyel" + n + ".png");
        names.push_back("bighead/eyer" + n + ".png");
        names.push_back("swc" + n + ".png");
    }
    for (int i = 1; i <= 6; ++i) {
        names.push_back("mouth" + std::to_string(i) + ".png");
    }
    for (const char* letter : {"f", "i1", "n", "i2", "s", "h", "e", "d"}) {
        names.push_back(std::string("finished/") + letter + ".png");
    }
    for (int d = 0; d <= 9; ++d) {
        names.push_back("scorefont/" + std::to_string(d) + ".png");
    }
    std::sort(names.begin(), names.end());
    return names;
}

sf::Image loadPicture(const std::string& name) {
    sf::Image image;
    if (!image.loadFromFile("data/images/" + name)) {
        return sf::Image();
    }
    return image;
}

int alphaAt(const sf::Image& image, unsigned x, unsigned y) {
    return image.getPixel(x, y).a;
}

Visible visiblePixels(const sf::Image& image, int threshold) {
    Visible v;
    const sf::Vector2u size = image.getSize();
    v.left = static_cast<int>(size.x);
    v.top = static_cast<int>(size.y);
    for (unsigned y = 0; y < size.y; ++y) {
        for (unsigned x = 0; x < size.x; ++x) {
            if (image.getPixel(x, y).a <= threshold) {
                continue;
            }
            ++v.count;
            v.left = std::min(v.left, static_cast<int>(x));
            v.right = std::max(v.right, static_cast<int>(x));
            v.top = std::min(v.top, static_cast<int>(y));
            v.bottom = std::max(v.bottom, static_cast<int>(y));
        }
    }
    return v;
}

int lightPixels(const sf::Image& image) {
    int count = 0;
    const sf::Vector2u size = image.getSize();
    for (unsigned y = 0; y < size.y; ++y) {
        for (unsigned x = 0; x < size.x; ++x) {
            const sf::Color c = image.getPixel(x, y);
            if (c.a > 160 && c.r >= 200 && c.g >= 200 && c.b >= 200) {
                ++count;
            }
        }
    }
    return count;
}
