#pragma once

// One physics unit is 50 pixels; physics y points up, screen y down, so a body
// at physics (x, y) is drawn at pixel (50 x, -50 y).
constexpr float pixelsPerUnit = 50.0f;
constexpr float degreesPerRadian = 57.29578f;
// A tile is 64 x 64 pixels, 1.28 x 1.28 units.
constexpr float cellPixels = 64.0f;
