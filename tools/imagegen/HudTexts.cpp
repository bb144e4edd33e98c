// Text pictures of the play screen: countdown numbers, the "time" label and
// the race-time digits, the personal-best badge and the letters of the finish
// banner. Sizes follow where the game puts them: the label's top-left corner
// at (10, 960) with the digits from x = 180 centred on y = 984, the badge
// centred on (640, 960), the countdown centred on (640, 170), and the eight
// finish letters standing edge to edge in one row of the 1280-wide screen.
#include <cmath>

#include "Lettering.hpp"
#include "Palette.hpp"
#include "Pictures.hpp"
#include "Symbols.hpp"

namespace {

// Score digits: one height for every glyph so that they share a centre line;
// the width of each follows its own ink, so a "1" is narrower than an "8".
constexpr int kDigitHeight = 56;
constexpr float kDigitCap = 34;
constexpr float kDigitGap = 0.5f;
// The "time" label is as tall as the digits and ends well before x = 180.
constexpr int kLabelHeight = 48;
constexpr float kLabelSize = 40;
// Countdown numbers and the finish letters.
constexpr float kCountdownSize = 240;
constexpr float kFinishSize = 168;

LetterStyle hudStyle(float top, float bottom) {
    LetterStyle s;
    s.fill = vertical(palette::kWhite, top, rgb(255, 222, 120), bottom);
    s.outline = 4;
    s.shadowOffset = 2.5f;
    s.shadowSoftness = 1.5f;
    s.shadowAlpha = 0.5f;
    s.bevel = 3;
    s.shine = 0.25f;
    return s;
}

Canvas scoreGlyph(const Font& font, char ch) {
    const float size = kDigitCap / font.capHeight(1.0f);
    const Font::Line line = font.layout(std::string(1, ch), size);
    // Glyph metrics relative to the cap line, so every glyph sits on the same baseline.
    const float capTop = kDigitHeight * 0.5f - kDigitCap * 0.5f - 1.5f;
    const float baseline = capTop + kDigitCap;
    const LetterStyle style = hudStyle(capTop, baseline);
    const float pad = letteringPad(style) + kDigitGap;
    const int width = static_cast<int>(
        std::ceil(line.inkMax.x - line.inkMin.x + 2 * pad + letteringShadowPad(style)));
    Canvas c(width, kDigitHeight);
    paintLettering(c, lineShape(line, {pad - line.inkMin.x, baseline}), style, capTop, baseline);
    return c;
}

Canvas timeLabel(const Font& font) {
    const Font::Line line = font.layout("time", kLabelSize);
    const float inkHeight = line.inkMax.y - line.inkMin.y;
    const float top = kLabelHeight * 0.5f - inkHeight * 0.5f - 1.5f;
    const LetterStyle style = hudStyle(top, top + inkHeight);
    const float pad = letteringPad(style);
    const int width = static_cast<int>(
        std::ceil(line.inkMax.x - line.inkMin.x + 2 * pad + letteringShadowPad(style)));
    Canvas c(width, kLabelHeight);
    paintLettering(c, lineShape(line, {pad - line.inkMin.x, top - line.inkMin.y}), style, top,
                   top + inkHeight);
    return c;
}

LetterStyle bigStyle(Rgba colour, float top, float bottom, float outline) {
    LetterStyle s;
    s.fill = vertical(shade(colour, 0.45f), top, shade(colour, -0.15f), bottom);
    s.outline = outline;
    s.shadowOffset = outline * 0.8f;
    s.shadowSoftness = outline * 0.5f;
    s.shadowAlpha = 0.4f;
    s.bevel = outline * 0.9f;
    s.shine = 0.35f;
    return s;
}

Canvas countdown(const Font& font, int number) {
    // Traffic-light order: red 3, amber 2, green 1.
    const Rgba colours[] = {palette::kColours[2], palette::kGold, palette::kColours[4]};
    const Font::Line line = font.layout(std::to_string(number), kCountdownSize);
    const float top = line.inkMin.y, bottom = line.inkMax.y;
    LetterStyle style = bigStyle(colours[number - 1], 0, 0, 11);
    const float pad = letteringPad(style);
    style.fill = vertical(shade(colours[number - 1], 0.3f), pad, shade(colours[number - 1], -0.15f),
                          pad + bottom - top);
    return letteringPicture(line, style);
}

Canvas finishLetter(const Font& font, char letter, Rgba colour) {
    const Font::Line line = font.layout(std::string(1, letter), kFinishSize);
    const float cap = font.capHeight(kFinishSize);
    LetterStyle style = bigStyle(colour, 0, 0, 9);
    const float pad = letteringPad(style);
    style.fill = vertical(shade(colour, 0.3f), pad, shade(colour, -0.2f), pad + cap);
    const int width = static_cast<int>(
        std::ceil(line.inkMax.x - line.inkMin.x + 2 * pad + letteringShadowPad(style) + 2));
    const int height = static_cast<int>(std::ceil(cap + 2 * pad + letteringShadowPad(style)));
    Canvas c(width, height);
    paintLettering(c, lineShape(line, {pad + 1 - line.inkMin.x, pad + cap}), style, pad, pad + cap);
    return c;
}

Canvas personalBest(const Font& font) {
    constexpr int kWidth = 220, kHeight = 100;
    const Vec2 mid = {kWidth / 2.0f, 46};
    Canvas c(kWidth, kHeight);
    // Ribbon tails behind the banner's ends.
    Look tail;
    tail.fill = vertical(rgb(200, 40, 50), 50, rgb(140, 20, 40), 96);
    tail.outline = palette::kOutline;
    tail.outlineWidth = 2.5f;
    tail.bevelWidth = 3;
    for (float side : {-1.0f, 1.0f}) {
        const float x0 = mid.x + side * 78, x1 = mid.x + side * 107;
        paintShadow(c, polygon({{x0, 56}, {x1, 62}, {x1 - side * 8, 78}, {x1, 94}, {x0, 88}}),
                    {2, 3}, 2, 0.35f);
        paintShape(c, polygon({{x0, 56}, {x1, 62}, {x1 - side * 8, 78}, {x1, 94}, {x0, 88}}), tail);
    }
    const Sdf banner = box(mid, {90, 38}, 18);
    paintShadow(c, banner, {2.5f, 3.5f}, 2.5f, 0.4f);
    Look look;
    look.fill = vertical(rgb(255, 98, 76), 8, rgb(196, 28, 44), 84);
    look.outline = palette::kOutline;
    look.outlineWidth = 3;
    look.bevelWidth = 6;
    paintShape(c, banner, look);
    paintFlat(c, subtract(box(mid, {83.5f, 31.5f}, 12), box(mid, {81.5f, 29.5f}, 10)),
              withAlpha(palette::kGold, 0.9f));
    for (float side : {-1.0f, 1.0f}) {
        const Vec2 at = mid + Vec2{side * 64, 2};
        Look starLook;
        starLook.fill = vertical(rgb(255, 246, 170), at.y - 12, palette::kGold, at.y + 12);
        starLook.outline = palette::kOutline;
        starLook.outlineWidth = 2;
        starLook.bevelWidth = 3;
        paintShape(c, star(at, 13, 6, 5, side * 0.2f), starLook);
    }
    const Font::Line small = font.layout("personal", 19);
    const Font::Line big = font.layout("BEST!", 31);
    const Vec2 smallAt = {mid.x - (small.inkMax.x + small.inkMin.x) / 2, 32};
    const Vec2 bigAt = {mid.x - (big.inkMax.x + big.inkMin.x) / 2, 69};
    LetterStyle smallStyle = hudStyle(32 - 14, 32);
    smallStyle.outline = 2.5f;
    smallStyle.shadowOffset = 1.5f;
    smallStyle.fill = flat(palette::kWhite);
    paintLettering(c, lineShape(small, smallAt), smallStyle, 18, 32);
    LetterStyle bigLook = hudStyle(69 - 25, 69);
    bigLook.fill = vertical(rgb(255, 250, 200), 44, palette::kGold, 69);
    bigLook.outline = 3.5f;
    paintLettering(c, lineShape(big, bigAt), bigLook, 44, 69);
    return c;
}

}  // namespace

void addHudTexts(Pictures& out, const Font& font) {
    for (int n = 1; n <= 3; ++n) {
        out.push_back({"countdown" + std::to_string(n) + ".png", countdown(font, n)});
    }
    out.push_back({"time.png", timeLabel(font)});
    out.push_back({"personalbest.png", personalBest(font)});
    // F I N I S H E D in the colours of a rainbow, one picture per letter.
    const char* names[] = {"f", "i1", "n", "i2", "s", "h", "e", "d"};
    const char letters[] = "FINISHED";
    const Rgba colours[] = {palette::kColours[4], palette::kOrange,     palette::kColours[5],
                            palette::kColours[2], palette::kColours[1], palette::kColours[0],
                            palette::kColours[3], rgb(255, 96, 170)};
    for (int i = 0; i < 8; ++i) {
        out.push_back({std::string("finished/") + names[i] + ".png",
                       finishLetter(font, letters[i], colours[i])});
    }
    for (char d = '0'; d <= '9'; ++d) {
        out.push_back({std::string("scorefont/") + d + ".png", scoreGlyph(font, d)});
    }
    out.push_back({"scorefont/colon.png", scoreGlyph(font, ':')});
    out.push_back({"scorefont/dot.png", scoreGlyph(font, '.')});
}
