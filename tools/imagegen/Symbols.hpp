#pragma once

#include "Canvas.hpp"
#include "Sdf.hpp"

// The symbol that tells a colour apart without seeing its hue: blue circle,
// cyan triangle, green square, purple diamond, red cross, yellow star.
// `size` is the symbol's outer radius in pixels.
Sdf colourSymbol(int colourIndex, Vec2 centre, float size);

// Paints the symbol in white with the house outline.
void paintColourSymbol(Canvas& canvas, int colourIndex, Vec2 centre, float size,
                       float outlineWidth);
