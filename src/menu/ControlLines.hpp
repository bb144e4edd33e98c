#pragma once

#include <SFML/Window/Keyboard.hpp>

#include <string>

#include "app/input/KeyBindings.hpp"

// The lines of the controls screen, top to bottom: one per action (in the
// order of Action), then "Reset to defaults" and "Back".
inline constexpr int resetControlsLine = static_cast<int>(actionCount);
inline constexpr int backControlsLine = resetControlsLine + 1;
inline constexpr int controlLineCount = backControlsLine + 1;

// The rules of the controls screen, as working bindings that reach the
// settings only when the player leaves: Return on an action waits for its new
// key, the next key press binds it (Escape cancels, a key of another action is
// refused), and "Reset to defaults" restores every action. A message line says
// what happened.
class ControlLines {
  public:
    explicit ControlLines(const KeyBindings& start);

    // Return or Space on a line; false on "Back", which the screen handles.
    bool choose(int line);
    // A key pressed while waiting for one.
    void press(sf::Keyboard::Key key);
    bool waiting() const { return waitingLine >= 0; }

    std::string text(int line) const;
    const std::string& message() const { return note; }

    KeyBindings bindings;

  private:
    int waitingLine = -1;
    std::string note;
};
