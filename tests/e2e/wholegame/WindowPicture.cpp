#include "WindowPicture.hpp"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr float logicalWidth = 1280.0f;
constexpr float logicalHeight = 1024.0f;
// Sobel magnitude (of 0 to 255 brightness) below which a pixel is no edge.
constexpr double minimumEdge = 40.0;

bool near(sf::Color c, int r, int g, int b, int tolerance) {
    return std::abs(c.r - r) <= tolerance && std::abs(c.g - g) <= tolerance &&
           std::abs(c.b - b) <= tolerance;
}

}  // namespace

bool isSky(sf::Color c) {
    return near(c, 110, 144, 205, 3);
}

bool isBrightGreen(sf::Color c) {
    return c.g > 180 && c.r < 100 && c.b < 100;
}

bool isMascotRed(sf::Color c) {
    return c.r > 150 && c.g < 90 && c.b < 90;
}

bool isWarm(sf::Color c) {
    return c.r > c.b + 40;
}

bool isDark(sf::Color c) {
    return std::max({c.r, c.g, c.b}) < 120;
}

WindowPicture WindowPicture::grab(unsigned long window) {
    WindowPicture picture;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return picture;
    }
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) != 0 &&
        attributes.map_state == IsViewable) {
        XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
        if (image != nullptr) {
            picture.width = attributes.width;
            picture.height = attributes.height;
            picture.pixels.reserve(static_cast<std::size_t>(picture.width * picture.height));
            for (int y = 0; y < picture.height; ++y) {
                for (int x = 0; x < picture.width; ++x) {
                    const unsigned long pixel = XGetPixel(image, x, y);
                    picture.pixels.emplace_back(static_cast<sf::Uint8>((pixel >> 16) & 0xff),
                                                static_cast<sf::Uint8>((pixel >> 8) & 0xff),
                                                static_cast<sf::Uint8>(pixel & 0xff));
                }
            }
            XDestroyImage(image);
        }
    }
    XCloseDisplay(display);
    return picture;
}

sf::IntRect WindowPicture::pixelRect(const sf::FloatRect& logical) const {
    const float sx = static_cast<float>(width) / logicalWidth;
    const float sy = static_cast<float>(height) / logicalHeight;
    const int left = std::clamp(static_cast<int>(logical.left * sx), 0, width);
    const int top = std::clamp(static_cast<int>(logical.top * sy), 0, height);
    const int right = std::clamp(static_cast<int>((logical.left + logical.width) * sx), 0, width);
    const int bottom = std::clamp(static_cast<int>((logical.top + logical.height) * sy), 0, height);
    return {left, top, right - left, bottom - top};
}

double WindowPicture::share(const ColourTest& test, const sf::FloatRect& logical) const {
    const sf::IntRect area = pixelRect(logical);
    if (area.width <= 0 || area.height <= 0) {
        return 0.0;
    }
    int passed = 0;
    for (int y = area.top; y < area.top + area.height; ++y) {
        for (int x = area.left; x < area.left + area.width; ++x) {
            passed += test(at(x, y)) ? 1 : 0;
        }
    }
    return static_cast<double>(passed) / (area.width * area.height);
}

double WindowPicture::brightness() const {
    if (pixels.empty()) {
        return 0.0;
    }
    double sum = 0.0;
    for (const sf::Color& c : pixels) {
        sum += c.r + c.g + c.b;
    }
    return sum / (3.0 * static_cast<double>(pixels.size()));
}

double WindowPicture::changedShare(const WindowPicture& other, const sf::FloatRect& logical,
                                   int threshold) const {
    if (other.width != width || other.height != height || pixels.empty()) {
        return 1.0;
    }
    const sf::IntRect area = pixelRect(logical);
    if (area.width <= 0 || area.height <= 0) {
        return 0.0;
    }
    int changed = 0;
    for (int y = area.top; y < area.top + area.height; ++y) {
        for (int x = area.left; x < area.left + area.width; ++x) {
            const sf::Color a = at(x, y);
            const sf::Color b = other.at(x, y);
            changed += !near(a, b.r, b.g, b.b, threshold) ? 1 : 0;
        }
    }
    return static_cast<double>(changed) / (area.width * area.height);
}

WindowPicture::Tilt WindowPicture::tilt(const sf::FloatRect& logical) const {
    const sf::IntRect area = pixelRect(logical);
    const auto luma = [&](int x, int y) {
        const sf::Color c = at(x, y);
        return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
    };
    // Sobel gradients; an edge at angle t votes for 4t, so edges a quarter
    // turn apart agree and the two sides of a tile do not cancel.
    double sumCos = 0.0;
    double sumSin = 0.0;
    double sumWeight = 0.0;
    for (int y = area.top + 1; y + 1 < area.top + area.height; ++y) {
        for (int x = area.left + 1; x + 1 < area.left + area.width; ++x) {
            const double gx = luma(x + 1, y - 1) + 2 * luma(x + 1, y) + luma(x + 1, y + 1) -
                              luma(x - 1, y - 1) - 2 * luma(x - 1, y) - luma(x - 1, y + 1);
            const double gy = luma(x - 1, y + 1) + 2 * luma(x, y + 1) + luma(x + 1, y + 1) -
                              luma(x - 1, y - 1) - 2 * luma(x, y - 1) - luma(x + 1, y - 1);
            const double weight = std::hypot(gx, gy);
            // Soft cloud edges and texture noise do not vote.
            if (weight < minimumEdge) {
                continue;
            }
            const double angle = std::atan2(gy, gx);
            sumCos += weight * std::cos(4.0 * angle);
            sumSin += weight * std::sin(4.0 * angle);
            sumWeight += weight;
        }
    }
    if (sumWeight == 0.0) {
        return {};
    }
    constexpr double degreesPerRadian = 57.29577951308232;
    return {std::atan2(sumSin, sumCos) / 4.0 * degreesPerRadian,
            std::hypot(sumCos, sumSin) / sumWeight};
}
