#pragma once

#include "Font.hpp"
#include "Paint.hpp"

// How a text picture is drawn: shaded letters inside a thick dark outline,
// a shine on their upper half and a soft drop shadow.
struct LetterStyle {
    Fill fill;
    float outline = 6;       // pixels, grown outside the letters
    float shadowOffset = 4;  // pixels, down and to the right
    float shadowSoftness = 3;
    float shadowAlpha = 0.45f;
    float bevel = 5;
    float shine = 0.3f;  // strength of the white shine on the top half
};

// Paints the letters (a shape from Font::layout / lineShape) with the style.
// `top` and `bottom` bound the letters vertically; the shine covers the upper
// part between them.
void paintLettering(Canvas& canvas, const Sdf& letters, const LetterStyle& style, float top,
                    float bottom);

// Room a styled text needs around its ink, in pixels: outline on every side,
// plus the shadow on the right and bottom.
inline float letteringPad(const LetterStyle& s) {
    return s.outline + 1;
}
inline float letteringShadowPad(const LetterStyle& s) {
    return s.shadowOffset + s.shadowSoftness;
}

// A picture holding just one line of styled text: the ink plus outline and
// shadow, with `extra` pixels of air on the left and right.
Canvas letteringPicture(const Font::Line& line, const LetterStyle& style, float extra = 0);
