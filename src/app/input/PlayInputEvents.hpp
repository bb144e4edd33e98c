#pragma once

#include <SFML/Window/Event.hpp>

#include <optional>

#include "sim/play/PlayInput.hpp"

// Where the window's events of play become the simulation's inputs. In play
// the input edge has already turned every device into key events of the
// actions' own keys and the pad's turn event (TurnEvent), so this is only a
// change of words: a key press or release, or a turn.

// The input of a key or turn event; nothing for any other event.
std::optional<PlayInput> playInputOf(const sf::Event& event);

// The window event that stands for an input (tests and tools that script the
// window with recorded inputs).
sf::Event eventOf(const PlayInput& input);
