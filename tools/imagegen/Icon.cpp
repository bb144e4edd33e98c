#include "Icon.hpp"

#include <algorithm>

#include "Face.hpp"
#include "Paint.hpp"
#include "Palette.hpp"
#include "Swirl.hpp"

namespace {

// Everything is laid out on a 512 px icon and scaled by size / 512.
constexpr float kDesignSize = 512;
constexpr float kBadgeRadius = 236;
constexpr float kHeadRadius = 132;
// The face's parts are sized in units of a head radius of 30.
constexpr float kFaceUnitRadius = 30;
constexpr int kRed = 4;

}  // namespace

Canvas appIcon(int size) {
    Canvas c(size, size);
    const float k = static_cast<float>(size) / kDesignSize;
    const Vec2 mid = {size / 2.0f, size / 2.0f};

    // The badge: night blue in the middle, darker to the rim, like the intro.
    const float badgeRadius = kBadgeRadius * k;
    const Sdf badge = circle(mid, badgeRadius);
    paintShadow(c, badge, {0, 6 * k}, 8 * k, 0.35f);
    Look look;
    look.fill = [=](Vec2 p) {
        const float r = length(p - mid) / badgeRadius;
        return mix(rgb(64, 100, 196), rgb(12, 18, 58), smoothstep(0.0f, 1.0f, r));
    };
    look.outline = palette::kOutline;
    look.outlineWidth = std::max(1.0f, 7 * k);
    look.bevelWidth = 14 * k;
    look.bevelStrength = 0.35f;
    paintShape(c, badge, look);

    // Thin strokes vanish below a pixel, so small icons get relatively bolder ones.
    const float stroke = std::max(1.6f * k, 0.3f);
    paintSwirl(c, mid, {215 * k, 200 * k}, rgb(110, 200, 255, 150), 4, 0.0f, stroke);
    paintSwirl(c, mid, {190 * k, 170 * k}, rgb(255, 255, 255, 90), 3, 1.1f, stroke);

    const Vec2 ball = {mid.x, mid.y - 8 * k};
    paintSoft(c, ellipse({ball.x + 6 * k, ball.y + 142 * k}, {96 * k, 16 * k}), rgb(0, 0, 20, 150),
              10 * k);
    const FaceFrame face = {ball, kHeadRadius * k / kFaceUnitRadius};
    paintHead(c, face, kRed, false, true);
    paintEye(c, face, -1, 0);
    paintEye(c, face, 1, 0);
    paintGrin(c, face);
    return c;
}
