#include "menu/NameEditor.hpp"

bool NameEditor::append(char character) {
    if (text.size() >= maxLength) {
        return false;
    }
    text.push_back(character);
    return true;
}

bool NameEditor::apply(sf::Keyboard::Key key, bool shift) {
    if (key >= sf::Keyboard::A && key <= sf::Keyboard::Z) {
        const char first = shift ? 'A' : 'a';
        return append(static_cast<char>(first + (key - sf::Keyboard::A)));
    }
    if (key >= sf::Keyboard::Num0 && key <= sf::Keyboard::Num9) {
        return append(static_cast<char>('0' + (key - sf::Keyboard::Num0)));
    }
    switch (key) {
        case sf::Keyboard::Period:
            return append('.');
        case sf::Keyboard::Comma:
            return append(',');
        case sf::Keyboard::Space:
            return append(' ');
        case sf::Keyboard::Backspace:
            if (text.empty()) {
                return false;
            }
            text.pop_back();
            return true;
        default:
            return false;
    }
}
