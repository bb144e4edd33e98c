#pragma once

#include <SFML/Graphics/Texture.hpp>

#include <array>
#include <string>
#include <vector>

class GameWindow;

// The race time in bitmap digits: 7.123 below a minute, 1:05.123 from a
// minute on, always three decimals, rounded to the thousandth. Glyphs stand
// edge to edge by their own widths.
class ScoreFont {
  public:
    static constexpr int dotGlyph = 10;
    static constexpr int colonGlyph = 11;
    static constexpr int glyphCount = 12;

    struct PlacedGlyph {
        int glyph = 0;         // 0..9 digits, dotGlyph, colonGlyph
        float centreX = 0.0f;  // pixels
    };

    // Loads the data folder's "images/scorefont/0.png" .. "9.png", "dot.png" and
    // "colon.png"; the first glyph's left edge goes at x, all glyphs are
    // centred on y. Missing pictures draw nothing (and take no room).
    void load(float left, float centreY);
    void draw(GameWindow& window) const;

    // The time as text, before the cut to three decimals: six significant
    // digits, never an exponent, "000" appended (with a point when it had
    // none), e.g. 7.1234 gives "7.1239000".
    static std::string fullText(float seconds, bool withMinutes);
    // What is drawn: "7.123", "1:05.250".
    static std::string shownText(float seconds, bool withMinutes);
    // The glyphs of shownText placed from `left` by the glyphs' widths.
    static std::vector<PlacedGlyph> layout(const std::string& text, float left,
                                           const std::array<float, glyphCount>& widths);

    bool showMinutes = false;
    float value = 0.0f;  // seconds
    float x = 0.0f;
    float y = 0.0f;

  private:
    std::array<sf::Texture, glyphCount> textures;
};
