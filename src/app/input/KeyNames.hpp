#pragma once

#include <SFML/Window/Keyboard.hpp>

#include <string>
#include <string_view>

// Names of the keyboard keys as the settings file keeps them and the controls
// screen shows them: the keys' own names ("A", "Num1", "LShift", "F5"), with
// "Return" for the Enter key as recorded runs write it.
std::string keyName(sf::Keyboard::Key key);
// sf::Keyboard::Unknown for a name that is no key's (case matters).
sf::Keyboard::Key keyOfName(std::string_view name);
