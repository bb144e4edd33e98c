#pragma once

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Rect.hpp>

#include <functional>

// Pixels of a picture inside a rectangle given in the game's logical units
// (1280 x 1024, scaled to the picture's size) for which `test` holds. Every
// picture check of the scene and end-to-end tests goes through this.
int countPixels(const sf::Image& picture, const sf::FloatRect& logical,
                const std::function<bool(sf::Color)>& test);

inline const sf::FloatRect wholeScreen{0.0f, 0.0f, 1280.0f, 1024.0f};

// Colours of the game's screens.
bool isSky(sf::Color c);             // the sky-blue backdrop of menus and levels
bool isWhitish(sf::Color c);         // white text
bool isLighterThanSky(sf::Color c);  // white text, even half transparent
bool isGreenish(sf::Color c);        // the greeting and the player's own row
bool isReddish(sf::Color c);         // warnings and the title mascots
