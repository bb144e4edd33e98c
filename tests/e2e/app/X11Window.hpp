#pragma once

#include <SFML/Graphics/Image.hpp>

#include <string>

// Talks to the game's real window in the virtual display the way a window
// manager and a keyboard would: xdotool finds, focuses and types, Xlib asks
// the window to close and reads its picture.
namespace X11Window {

// Waits up to `seconds` for a window whose title starts with `titlePrefix`; 0
// when none appears.
unsigned long find(const std::string& titlePrefix, double seconds);
// Gives the window the keyboard focus, as a click into it would.
bool focus(unsigned long window);
// Asks the window to close, as the title bar's close button does.
bool requestClose(unsigned long window);
// Taps keys through XTEST one after the other, each held a moment: xdotool key
// names ("Return", "shift+t") apart by spaces.
bool keys(const std::string& names);
// What the window shows now; empty when it cannot be read (not mapped, gone).
sf::Image capture(unsigned long window);

}  // namespace X11Window
