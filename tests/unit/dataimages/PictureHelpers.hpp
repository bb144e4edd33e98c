#pragma once

#include <SFML/Graphics/Image.hpp>

#include <string>
#include <vector>

// Shared helpers for the picture tests: loading from data/images/ and
// measuring what is visible in a picture.

// Every picture path below data/images/ that the game loads.
std::vector<std::string> gamePictureNames();

// Loads data/images/<name>; an empty image (0 x 0) when it cannot be read.
sf::Image loadPicture(const std::string& name);

int alphaAt(const sf::Image& image, unsigned x, unsigned y);

// Visible pixels (alpha above `threshold`) and their bounds.
struct Visible {
    int count = 0;
    int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; right < left when none
};
Visible visiblePixels(const sf::Image& image, int threshold = 0);

// Pixels that are light (all channels at least 200) and mostly opaque.
int lightPixels(const sf::Image& image);
