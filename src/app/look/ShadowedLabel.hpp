#pragma once

#include <SFML/Graphics/Text.hpp>

class GameWindow;

// A label over a soft shadow, so white text stays readable where it crosses a
// white cloud. The shadow fades with the label's own alpha.
void drawShadowedLabel(GameWindow& window, const sf::Text& label);
