#pragma once

#include <functional>
#include <vector>

#include "Vec.hpp"

// A shape as a signed distance in pixels: negative inside, positive outside,
// zero on the edge. Anti-aliasing, outlines and bevels all read this one
// number, so every picture gets the same edge quality.
using Sdf = std::function<float(Vec2)>;

Sdf circle(Vec2 centre, float radius);
// Ellipse; the distance is approximate but exact on the edge, which is what
// coverage needs.
Sdf ellipse(Vec2 centre, Vec2 radii);
// Axis-aligned box with rounded corners (radius 0 gives sharp corners).
Sdf box(Vec2 centre, Vec2 halfSize, float cornerRadius = 0);
// Line from a to b with round ends, thickness 2 * radius.
Sdf capsule(Vec2 a, Vec2 b, float radius);
// Circular arc around centre from angle a0 to a1 (radians, clockwise on
// screen from +x), drawn as a stroke of half-thickness halfWidth with round ends.
Sdf arc(Vec2 centre, float radius, float a0, float a1, float halfWidth);
// Closed polygon in any winding; may be concave.
Sdf polygon(std::vector<Vec2> points);
// Several closed contours filled by the non-zero winding rule, as font
// outlines are.
Sdf contours(std::vector<std::vector<Vec2>> rings);
// Star with the given number of points, first point straight up.
Sdf star(Vec2 centre, float outerRadius, float innerRadius, int points, float rotation = 0);
// Regular polygon, first corner straight up.
Sdf regular(Vec2 centre, float radius, int corners, float rotation = 0);

Sdf unite(Sdf a, Sdf b);
// Union that rounds the joint over the given distance, for soft blobs.
Sdf smoothUnite(Sdf a, Sdf b, float k);
Sdf intersect(Sdf a, Sdf b);
Sdf subtract(Sdf a, Sdf b);
// Grows (positive) or shrinks (negative) a shape by a distance.
Sdf offset(Sdf a, float by);
Sdf translate(Sdf a, Vec2 by);
// Turns a shape around a pivot (radians, clockwise on screen).
Sdf rotate(Sdf a, Vec2 pivot, float radians);
// Scales a shape around a pivot.
Sdf scale(Sdf a, Vec2 pivot, float factor);
