#include "menu/ControlLines.hpp"

#include "app/input/KeyNames.hpp"

namespace {

constexpr const char* idleNote = "Choose an action and press Return to change its key";

Action actionOfLine(int line) {
    return static_cast<Action>(line);
}

std::string labelOf(Action action) {
    return actionInfo(action).label;
}

}  // namespace

ControlLines::ControlLines(const KeyBindings& start) : bindings(start), note(idleNote) {}

bool ControlLines::choose(int line) {
    if (line == resetControlsLine) {
        bindings.reset();
        note = "Every action has its default keys again";
        return true;
    }
    if (line < 0 || line >= resetControlsLine) {
        return false;
    }
    waitingLine = line;
    note = "Press the new key for " + labelOf(actionOfLine(line)) + " (Escape cancels)";
    return true;
}

void ControlLines::press(sf::Keyboard::Key key) {
    if (!waiting()) {
        return;
    }
    const Action action = actionOfLine(waitingLine);
    if (key == sf::Keyboard::Escape) {
        waitingLine = -1;
        note = labelOf(action) + " keeps " + bindings.text(action);
        return;
    }
    Action holder = action;
    switch (bindings.bind(action, key, holder)) {
        case KeyBindings::BindResult::bound:
            waitingLine = -1;
            note = labelOf(action) + " is now " + keyName(key);
            break;
        case KeyBindings::BindResult::taken:
            note = keyName(key) + " is already used by " + labelOf(holder) + ", try another key";
            break;
        case KeyBindings::BindResult::unusable:
            note = "That key cannot be used, try another key";
            break;
    }
}

std::string ControlLines::text(int line) const {
    if (line == resetControlsLine) {
        return "Reset to defaults";
    }
    if (line == backControlsLine) {
        return "Back";
    }
    if (line < 0 || line > backControlsLine) {
        return "";
    }
    const Action action = actionOfLine(line);
    const std::string value = line == waitingLine ? "press a key" : bindings.text(action);
    return labelOf(action) + ": " + value;
}
