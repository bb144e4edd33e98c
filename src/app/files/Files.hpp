#pragma once

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <string>

// Loads a picture (game files: a dataPath()). A missing or broken file is
// reported on standard error, leaves the image empty (0 x 0) and returns
// false; drawing an empty picture draws nothing, so callers may ignore the
// result.
bool loadImage(sf::Image& image, const std::string& path);

// As loadImage, straight into a texture with smoothing on (the world turns, so
// every picture is drawn rotated and scaled).
bool loadTexture(sf::Texture& texture, const std::string& path);
