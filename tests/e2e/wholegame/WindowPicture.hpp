#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>

#include <functional>
#include <vector>

// What a window shows right now, read back from the X server, with the game's
// logical screen of 1280 x 1024 units laid over it (the game scales that
// screen to any window size). The end-to-end tests tell the screens apart by
// these pictures.
class WindowPicture {
  public:
    using ColourTest = std::function<bool(sf::Color)>;
    static inline const sf::FloatRect wholeScreen{0.0f, 0.0f, 1280.0f, 1024.0f};

    // Empty when the window cannot be read (not mapped, gone).
    static WindowPicture grab(unsigned long window);

    bool empty() const { return pixels.empty(); }
    // Share (0 to 1) of the pixels inside the logical rectangle that pass.
    double share(const ColourTest& test, const sf::FloatRect& logical = wholeScreen) const;
    // Mean of red, green and blue over the whole picture, 0 to 255.
    double brightness() const;
    // Share of the pixels inside the logical rectangle that differ from the
    // same pixel of `other` by more than `threshold` in some channel; 1 when the
    // pictures do not match in size.
    double changedShare(const WindowPicture& other, const sf::FloatRect& logical,
                        int threshold) const;
    // The turn of the straight edges in the rectangle, in degrees from -45 to
    // 45: tile edges repeat every quarter turn, so a world turned by a quarter
    // turn and one not turned at all look the same. Edges vote with their
    // strength; `certainty` (0 to 1) tells how much they agree.
    struct Tilt {
        double degrees = 0.0;
        double certainty = 0.0;
    };
    Tilt tilt(const sf::FloatRect& logical) const;

  private:
    sf::Color at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    // Pixel bounds of a logical rectangle, clipped to the picture.
    sf::IntRect pixelRect(const sf::FloatRect& logical) const;

    int width = 0;
    int height = 0;
    std::vector<sf::Color> pixels;
};

// Colours of the game's screens.
bool isSky(sf::Color c);          // the sky-blue backdrop of the menus and levels
bool isBrightGreen(sf::Color c);  // the first-start greeting
bool isMascotRed(sf::Color c);    // the title mascots' heads
bool isWarm(sf::Color c);         // tiles, crates and the ball: nothing of the sky
bool isDark(sf::Color c);         // black fades and the pause panel
