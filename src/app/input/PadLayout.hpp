#pragma once

#include <SFML/Window/Joystick.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <array>

// How a pad plays the game: the one place that says which button does what
// and how far a stick must be pushed. Buttons become keys the screens already
// know: one key in the menus (the pause menu included) and one in play
// (Unknown: the button does nothing there).
namespace PadLayout {

struct Button {
    unsigned number;
    sf::Keyboard::Key menuKey;
    sf::Keyboard::Key playKey;
};

// 0 is the bottom face button, 1 the right one, 2 the left and 3 the top one
// on common pads, 7 is Start. The left and top ones step and restart a
// replay, as PageDown and Home do: keys no name field types.
inline constexpr std::array<Button, 5> buttons{{
    {0, sf::Keyboard::Enter, sf::Keyboard::Space},       // confirms; jumps
    {1, sf::Keyboard::Escape, sf::Keyboard::Unknown},    // goes back
    {2, sf::Keyboard::PageDown, sf::Keyboard::Unknown},  // a replay's next frame
    {3, sf::Keyboard::Home, sf::Keyboard::Unknown},      // a replay from the start
    {7, sf::Keyboard::Escape, sf::Keyboard::Escape},     // resumes; pauses
}};

// The stick and the d-pad (the "point of view" hat) both turn and walk menus.
// Axis positions run from -100 to 100, left and up negative.
inline constexpr sf::Joystick::Axis stickX = sf::Joystick::X;
inline constexpr sf::Joystick::Axis stickY = sf::Joystick::Y;
inline constexpr sf::Joystick::Axis hatX = sf::Joystick::PovX;
inline constexpr sf::Joystick::Axis hatY = sf::Joystick::PovY;

// Stick travel, in percent, that counts as centred: worn sticks rest a little
// off the middle.
inline constexpr float deadZone = 20.0f;
// What a d-pad press is worth as a turn: the normal turn speed.
inline constexpr float hatTurn = 50.0f;
// A menu step needs a firm push; it ends only once the push has clearly eased,
// so a stick wobbling at the threshold does not step twice.
inline constexpr float stepPush = 50.0f;
inline constexpr float stepRelease = 30.0f;
// A direction held in a menu steps again after this long, then at this rate.
inline constexpr float repeatDelay = 0.4f;
inline constexpr float repeatInterval = 0.12f;

}  // namespace PadLayout
