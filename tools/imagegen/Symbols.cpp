#include "Symbols.hpp"

#include "Paint.hpp"
#include "Palette.hpp"

Sdf colourSymbol(int colourIndex, Vec2 centre, float size) {
    switch (colourIndex) {
        case 0:
            return circle(centre, size * 0.82f);
        case 1:
            // A triangle's visual centre sits below its circumcentre.
            return offset(regular(centre + Vec2{0, size * 0.12f}, size * 1.02f, 3), -size * 0.02f);
        case 2:
            return box(centre, {size * 0.72f, size * 0.72f}, size * 0.08f);
        case 3:
            return regular(centre, size * 1.0f, 4);
        case 4: {
            const float r = size * 0.72f;
            const float w = size * 0.25f;
            return unite(capsule(centre + Vec2{-r, -r}, centre + Vec2{r, r}, w),
                         capsule(centre + Vec2{-r, r}, centre + Vec2{r, -r}, w));
        }
        default:
            return star(centre + Vec2{0, size * 0.06f}, size * 1.08f, size * 0.48f, 5);
    }
}

void paintColourSymbol(Canvas& canvas, int colourIndex, Vec2 centre, float size,
                       float outlineWidth) {
    Look look;
    look.fill = vertical(palette::kWhite, centre.y - size, palette::kCream, centre.y + size);
    look.outline = palette::kOutline;
    look.outlineWidth = outlineWidth;
    look.bevelWidth = size * 0.3f;
    look.bevelStrength = 0.25f;
    paintShape(canvas, offset(colourSymbol(colourIndex, centre, size), outlineWidth * 0.5f), look);
}
