#pragma once

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <vector>

#include "app/look/ScreenLook.hpp"
#include "game/Popup.hpp"

class GameWindow;

// Small helpers shared by the level show's source files.

// Scales the sprite so that the whole texture shows at `size` (pixels);
// nothing for an empty texture.
void scaleTo(sf::Sprite& sprite, const sf::Texture& texture, sf::Vector2f size);

// Moves a list of popups on by a frame and drops the gone ones.
void updatePopups(std::vector<Popup>& popups, float frameTime);
void drawPopups(const std::vector<Popup>& popups, GameWindow& window);
