#pragma once

#include <array>

#include "Canvas.hpp"

// The application icon: the hero ball, grinning, in front of the vortex on a
// round night-blue badge, as on the start-up logo but without its lettering,
// which no icon size could read. Drawn anew at each size rather than scaled,
// so the small ones keep sharp edges.
Canvas appIcon(int size);

// The sizes, in pixels, the desktop's icon theme (hicolor) gets.
constexpr std::array<int, 5> kIconSizes = {48, 64, 128, 256, 512};
