#pragma once

#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/View.hpp>

class GameWindow;
class MenuList;
class ParticleEmitter;

// Frame helpers shared by the front-end screens: the backdrop, its clouds and
// the menu labels.
namespace MenuDrawing {

// Moves the shared cloud backdrop on by a frame, when it is shown at all:
// clouds that are not drawn do not move either. Part of a screen's update.
void updateClouds(ParticleEmitter* clouds, bool drawClouds, float frameTime);

// Clears to the sky-blue backdrop, sets the logical view and, when wanted,
// draws the clouds.
void beginFrame(GameWindow& window, const sf::View& view, const ParticleEmitter* clouds,
                bool drawClouds);

// Every item of the menu with its shadow, in the colours the highlight gave.
void drawMenu(GameWindow& window, const MenuList& menu);

}  // namespace MenuDrawing
