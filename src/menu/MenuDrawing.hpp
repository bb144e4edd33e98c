#pragma once

#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/Window/Event.hpp>

#include <functional>

class GameWindow;
class MenuList;
class ParticleEmitter;
class ScreenFade;

// Frame helpers shared by the front-end screens: the backdrop, its clouds and
// the menu labels.
namespace MenuDrawing {

// Reads the frame's events: every key press goes to `onKey` while the fade
// takes input (checked for each key, so a key that starts the fade-out stops
// the ones after it), and Closed closes the window. False once the window is
// closed, by Closed or by a key's handler: the frame ends there.
bool readMenuKeys(GameWindow& window, const ScreenFade& fade, float fadeInThreshold,
                  const std::function<void(const sf::Event::KeyEvent&)>& onKey);

// Moves the shared cloud backdrop on by a frame, when it is shown at all:
// clouds that are not drawn do not move either. Part of a screen's update.
void updateClouds(ParticleEmitter* clouds, bool drawClouds, float frameTime);

// Clears to the sky-blue backdrop, sets the logical view and, when wanted,
// draws the clouds.
void beginFrame(GameWindow& window, const sf::View& view, const ParticleEmitter* clouds,
                bool drawClouds);

// Every item of the menu with its shadow, in the colours the highlight gave.
void drawMenu(GameWindow& window, const MenuList& menu);

// A screen's frames, one update (given the frame time) then one draw, until
// `over` holds or the window closes; a frame whose update ends the screen
// draws nothing.
void runFrames(GameWindow& window, const std::function<bool()>& over,
               const std::function<void(float)>& update, const std::function<void()>& draw);

}  // namespace MenuDrawing
