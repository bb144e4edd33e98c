#include "Lettering.hpp"

#include <cmath>

#include "Palette.hpp"

void paintLettering(Canvas& canvas, const Sdf& letters, const LetterStyle& style, float top,
                    float bottom) {
    const Sdf outer = offset(letters, style.outline);
    if (style.shadowAlpha > 0) {
        paintShadow(canvas, outer, {style.shadowOffset * 0.7f, style.shadowOffset},
                    style.shadowSoftness, style.shadowAlpha);
    }
    Look look;
    look.fill = style.fill;
    look.outline = palette::kOutline;
    look.outlineWidth = style.outline;
    look.bevelWidth = style.bevel;
    look.bevelStrength = 0.45f;
    paintShape(canvas, outer, look);
    if (style.shine > 0) {
        // A glossy band over the upper part of the letters, with a soft lower edge.
        const float edge = lerp(top, bottom, 0.45f);
        const Sdf upper = [edge](Vec2 p) { return p.y - edge; };
        paintGloss(canvas, offset(letters, -style.bevel * 0.25f), upper, style.shine,
                   (bottom - top) * 0.08f + 0.5f);
    }
}

Canvas letteringPicture(const Font::Line& line, const LetterStyle& style, float extra) {
    const float pad = letteringPad(style);
    const float shadow = letteringShadowPad(style);
    const int width =
        static_cast<int>(std::ceil(line.inkMax.x - line.inkMin.x + 2 * pad + shadow + 2 * extra));
    const int height =
        static_cast<int>(std::ceil(line.inkMax.y - line.inkMin.y + 2 * pad + shadow));
    Canvas canvas(width, height);
    const Vec2 by = {pad + extra - line.inkMin.x, pad - line.inkMin.y};
    paintLettering(canvas, lineShape(line, by), style, pad, pad + line.inkMax.y - line.inkMin.y);
    return canvas;
}
