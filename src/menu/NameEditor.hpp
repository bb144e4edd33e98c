#pragma once

#include <SFML/Window/Keyboard.hpp>

#include <string>

// The edit buffer of the highscore name: letters (capital with Shift), digits,
// ".", "," and the space, at most 15 characters, Backspace to remove the last.
// Those are the only characters the server accepts in a name, and the request
// sends the name without escaping, so nothing else may get in.
class NameEditor {
  public:
    static constexpr std::size_t maxLength = 15;
    static constexpr char caret = '_';

    // A longer stored name (an edited settings file) is kept whole; nothing can
    // be added until enough is removed.
    explicit NameEditor(std::string startName = "") : text(std::move(startName)) {}

    // Applies one key press; true when the name changed.
    bool apply(sf::Keyboard::Key key, bool shift);

    const std::string& name() const { return text; }
    std::string withCaret() const { return text + caret; }
    bool empty() const { return text.empty(); }

  private:
    bool append(char character);

    std::string text;
};
