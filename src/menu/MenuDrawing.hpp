#pragma once

#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/View.hpp>

class GameWindow;
class MenuList;
class ParticleEmitter;

// Drawing shared by the front-end screens.
namespace MenuDrawing {

// Clears to the sky-blue backdrop, sets the logical view and, when wanted,
// moves and draws the clouds (clouds that are not drawn do not move either).
void beginFrame(GameWindow& window, const sf::View& view, ParticleEmitter* clouds, bool drawClouds);

// Every item of the menu with its shadow, in the colours the highlight gave.
void drawMenu(GameWindow& window, const MenuList& menu);

}  // namespace MenuDrawing
