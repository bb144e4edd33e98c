#pragma once

#include "Canvas.hpp"
#include "Vec.hpp"

// Spiral arms turning around `centre`: the vortex of the name, behind the
// logos and the icon. `thickness` scales the strokes and their soft edge
// (1 for the full-size logos).
void paintSwirl(Canvas& canvas, Vec2 centre, Vec2 radii, Rgba colour, int arms, float turn,
                float thickness = 1.0f);
