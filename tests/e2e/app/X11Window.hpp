#pragma once

#include <SFML/Graphics/Image.hpp>

#include <string>

// Talks to the game's real window in the virtual display the way a window
// manager and a keyboard would.
namespace X11Window {

// Waits up to `seconds` for a top-level window whose title starts with
// `titlePrefix`; 0 when none appears.
unsigned long find(const std::string& titlePrefix, double seconds);
// Gives the window the keyboard focus, as a click into it would.
bool focus(unsigned long window);
// Asks the window to close, as the title bar's close button does.
bool requestClose(unsigned long window);
// Presses or releases a key (an X keysym name such as "Return") through XTEST.
bool key(const std::string& keysymName, bool press);
// Press, short wait, release.
bool tap(const std::string& keysymName);
// What the window shows now; empty when it cannot be read (not mapped, gone).
sf::Image capture(unsigned long window);

}  // namespace X11Window
