#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>

#include <array>
#include <string>

class GameWindow;
class HighscoreTable;

// Shown in the table's place when the server does not keep the level (a
// custom level it was not given).
inline constexpr const char* notOnServerText = "Level not on this server";

// One row of a highscore table on screen. The row's text (place, time, the
// free text and the name) is laid out in columns, places and times
// right-aligned, so that rows line up although the font is not monospaced.
// Eleven rows fit between the level's picture and "Back".
class TableRowView {
  public:
    static constexpr unsigned textSize = 28;
    static constexpr float rowHeight = 35.0f;

    TableRowView(const HighscoreTable& table, unsigned record, const sf::Font& font, float top,
                 sf::Color colour);

    // The whole row as one line of text.
    const std::string& text() const { return line; }
    sf::Color colour() const { return columns[0].getFillColor(); }
    void draw(GameWindow& window) const;

  private:
    std::string line;
    std::array<sf::Text, 4> columns;
};
