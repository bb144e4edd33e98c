#pragma once

#include <functional>

#include "Canvas.hpp"
#include "Sdf.hpp"

// Colour of a shape's fill at a point, before edge shading.
using Fill = std::function<Rgba(Vec2)>;

// The house style of a solid shape: a shaded fill inside a dark outline, with
// a rounded-edge bevel lit from the upper left.
struct Look {
    Fill fill;
    Rgba outline;
    // Outline thickness in pixels, drawn inside the shape's edge so that the
    // picture never grows beyond the shape it shows.
    float outlineWidth = 2.5f;
    // Depth of the rounded edge in pixels, and how strongly it is lit/shaded.
    float bevelWidth = 6.0f;
    float bevelStrength = 0.45f;
};

Fill flat(Rgba c);
// Top colour at y0 to bottom colour at y1, clamped outside.
Fill vertical(Rgba top, float y0, Rgba bottom, float y1);
// A lit ball: light from the upper left, darker rim at the lower right.
Fill sphere(Vec2 centre, float radius, Rgba base);

// Solid shape in the house style.
void paintShape(Canvas& canvas, const Sdf& shape, const Look& look);
// Anti-aliased flat fill, no outline.
void paintFlat(Canvas& canvas, const Sdf& shape, Rgba colour);
// Fill of a given colour whose edge fades out over `softness` pixels on each
// side of the shape's edge (clouds, glows, shadows).
void paintSoft(Canvas& canvas, const Sdf& shape, Rgba colour, float softness);
// Soft dark shadow of a shape, moved by `by`.
void paintShadow(Canvas& canvas, const Sdf& shape, Vec2 by, float softness, float alpha);
// White shine (a soft-edged `gloss` shape) kept inside `clip`.
void paintGloss(Canvas& canvas, const Sdf& clip, const Sdf& gloss, float alpha,
                float softness = 1.5f);
