#pragma once

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <vector>

#include "app/ScreenLook.hpp"
#include "game/Popup.hpp"

class GameWindow;

// Small helpers shared by the play screen's source files.

// Scales the sprite so that the whole texture shows at `size` (pixels);
// nothing for an empty texture.
void scaleTo(sf::Sprite& sprite, const sf::Texture& texture, sf::Vector2f size);

// One frame of a list of popups: update, draw, then drop the gone ones.
void drawPopups(std::vector<Popup>& popups, GameWindow& window, float frameTime);
