#include "online/client/TableRowView.hpp"

#include <charconv>

#include "app/look/ShadowedLabel.hpp"
#include "online/HighscoreTable.hpp"

namespace {

// Column edges in logical units: the place and the time end at their edge,
// the free text and the name start at theirs.
constexpr float placeRight = 260.0f;
constexpr float timeRight = 440.0f;
constexpr float freeTextLeft = 475.0f;
constexpr float nameLeft = 685.0f;

// Seconds of the time field; 0 for a field that is not a number.
float fieldSeconds(const std::string& field) {
    float seconds = 0.0f;
    const auto result = std::from_chars(field.data(), field.data() + field.size(), seconds);
    return result.ec == std::errc() ? seconds : 0.0f;
}

void setColumn(sf::Text& column, const sf::Font& font, const std::string& text, float x, float top,
               bool alignRight, sf::Color colour) {
    column.setFont(font);
    column.setString(sf::String::fromUtf8(text.begin(), text.end()));
    column.setCharacterSize(TableRowView::textSize);
    column.setFillColor(colour);
    const float width = column.getLocalBounds().left + column.getLocalBounds().width;
    column.setPosition(alignRight ? x - width : x, top);
}

}  // namespace

TableRowView::TableRowView(const HighscoreTable& table, unsigned record, const sf::Font& font,
                           float top, sf::Color colour)
    : line(table.rowText(record)) {
    setColumn(columns[0], font, table.field(record, 0) + ".", placeRight, top, true, colour);
    setColumn(columns[1], font, tableTimeText(fieldSeconds(table.field(record, 3))), timeRight, top,
              true, colour);
    setColumn(columns[2], font, table.field(record, 1), freeTextLeft, top, false, colour);
    setColumn(columns[3], font, table.field(record, 2), nameLeft, top, false, colour);
}

void TableRowView::draw(GameWindow& window) const {
    for (const sf::Text& column : columns) {
        drawShadowedLabel(window, column);
    }
}
