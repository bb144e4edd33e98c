#include "game/ScoreFont.hpp"

#include <SFML/Graphics/Sprite.hpp>

#include <cmath>

#include "app/files/Files.hpp"
#include "app/platform/GameWindow.hpp"
#include "sim/base/DataFolder.hpp"
#include "sim/base/PlainDecimal.hpp"

namespace {

constexpr int decimalsShown = 3;
constexpr int significantDigits = 6;
// Half a thousandth, so the shown thousandths are rounded, not cut.
constexpr float rounding = 0.0005f;

int glyphOf(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c == '.') {
        return ScoreFont::dotGlyph;
    }
    if (c == ':') {
        return ScoreFont::colonGlyph;
    }
    return -1;
}

}  // namespace

std::string ScoreFont::fullText(float seconds, bool withMinutes) {
    const float v = seconds + rounding;
    std::string text;
    if (withMinutes && v >= 60.0f) {
        const float minutes = std::trunc(v / 60.0f);
        const float rest = v - 60.0f * minutes;
        text = plainDecimal(minutes, significantDigits) + (rest < 10.0f ? ":0" : ":") +
               plainDecimal(rest, significantDigits);
    } else {
        text = plainDecimal(v, significantDigits);
    }
    if (text.find('.') == std::string::npos) {
        text += '.';
    }
    return text + "000";
}

std::string ScoreFont::shownText(float seconds, bool withMinutes) {
    const std::string text = fullText(seconds, withMinutes);
    std::string shown;
    int remaining = -1;  // unlimited until a point or colon
    for (char c : text) {
        if (remaining == 0) {
            break;
        }
        const int glyph = glyphOf(c);
        if (glyph < 0) {
            continue;
        }
        shown += c;
        if (glyph == dotGlyph || glyph == colonGlyph) {
            remaining = decimalsShown;
        } else if (remaining > 0) {
            --remaining;
        }
    }
    return shown;
}

std::vector<ScoreFont::PlacedGlyph> ScoreFont::layout(const std::string& text, float left,
                                                      const std::array<float, glyphCount>& widths) {
    std::vector<PlacedGlyph> placed;
    float pen = left;
    float previousHalf = 0.0f;
    for (char c : text) {
        const int glyph = glyphOf(c);
        if (glyph < 0) {
            continue;
        }
        const float half = widths[static_cast<std::size_t>(glyph)] * 0.5f;
        pen += previousHalf + half;
        placed.push_back(PlacedGlyph{glyph, pen});
        previousHalf = half;
    }
    return placed;
}

void ScoreFont::load(float left, float centreY) {
    x = left;
    y = centreY;
    for (int digit = 0; digit < 10; ++digit) {
        loadTexture(textures[static_cast<std::size_t>(digit)],
                    dataPath("images/scorefont/" + std::to_string(digit) + ".png"));
    }
    loadTexture(textures[dotGlyph], dataPath("images/scorefont/dot.png"));
    loadTexture(textures[colonGlyph], dataPath("images/scorefont/colon.png"));
}

void ScoreFont::draw(GameWindow& window) const {
    std::array<float, glyphCount> widths{};
    for (std::size_t i = 0; i < widths.size(); ++i) {
        widths[i] = static_cast<float>(textures[i].getSize().x);
    }
    for (const PlacedGlyph& placed : layout(shownText(value, showMinutes), x, widths)) {
        const sf::Texture& texture = textures[static_cast<std::size_t>(placed.glyph)];
        if (texture.getSize().x == 0) {
            continue;
        }
        sf::Sprite sprite(texture);
        const sf::Vector2f size(texture.getSize());
        sprite.setOrigin(size * 0.5f);
        sprite.setPosition(placed.centreX, y);
        window.draw(sprite);
    }
}
