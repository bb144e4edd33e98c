#include "Swirl.hpp"

#include <cmath>

#include "Paint.hpp"

void paintSwirl(Canvas& canvas, Vec2 centre, Vec2 radii, Rgba colour, int arms, float turn,
                float thickness) {
    for (int arm = 0; arm < arms; ++arm) {
        const float start = turn + arm * 2 * kPi / arms;
        Sdf stroke = circle({-1000, -1000}, 0);
        constexpr int kSteps = 40;
        Vec2 previous;
        for (int i = 0; i <= kSteps; ++i) {
            const float t = static_cast<float>(i) / kSteps;
            const float a = start + t * 1.3f * kPi;
            const float r = lerp(0.25f, 1.0f, t);
            const Vec2 p = centre + Vec2{std::cos(a) * radii.x * r, std::sin(a) * radii.y * r};
            if (i > 0) {
                // Thick in the middle of the arm, thin at both ends.
                const float w = (1 + 10 * std::sin(t * kPi)) * thickness;
                stroke = unite(stroke, capsule(previous, p, w));
            }
            previous = p;
        }
        paintSoft(canvas, stroke, colour, 2.5f * thickness);
    }
}
