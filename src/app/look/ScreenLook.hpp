#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/View.hpp>

#include <string>

// What every screen shares: the logical 1280 x 1024 view (whatever the window
// size), the sky-blue backdrop, the font, label placement and colour blending.
namespace ScreenLook {

constexpr float viewWidth = 1280.0f;
constexpr float viewHeight = 1024.0f;
constexpr unsigned labelSize = 56;
constexpr unsigned tableLineSize = 32;
constexpr float tableLineX = 100.0f;
const sf::Color backdrop(110, 144, 205, 255);
const sf::Color highlightRed(255, 93, 93, 255);
std::string fontPath();
std::string clickSoundPath();

sf::View logicalView();
// A missing font leaves labels empty; the screen works on.
bool loadFont(sf::Font& font);

}  // namespace ScreenLook

// Sets the label's text, font and size and centres its width on x = 640 with
// its top at y.
void placeLabel(sf::Text& label, const sf::Font& font, const sf::String& text, float y,
                unsigned size = ScreenLook::labelSize);
// The same, left-aligned at x = 100 in the table size (highscore lines).
void placeTableLine(sf::Text& label, const sf::Font& font, const sf::String& text, float y);

// Per channel truncate(b + (a - b) * t): t = 1 gives a, t = 0 gives b.
sf::Color lerpColor(const sf::Color& a, const sf::Color& b, float t);
