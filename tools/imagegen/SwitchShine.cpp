// The nine frames laid over a colour switch while it waits to be touched. The
// game plays them 1..9 and back, untinted, over every switch colour, so they
// hold only white light: a glint sweeping across the face and a rim that
// glows up as the glint passes the middle.
#include "Paint.hpp"
#include "Pictures.hpp"

namespace {

constexpr int kTile = 64;
constexpr Vec2 kMid = {32, 32};
constexpr int kFrames = 9;

Canvas shineFrame(int k) {
    Canvas c(kTile, kTile);
    const float t = static_cast<float>(k) / (kFrames - 1);
    // Stay inside the switch's outline so the dark edge stays crisp.
    const Sdf face = regular(kMid, 29.5f, 4);
    const float glow = std::sin(t * kPi);
    paintGloss(c, face, subtract(face, regular(kMid, 25.5f, 4)), 0.12f + 0.38f * glow, 1.2f);
    const Vec2 dir = normalized({1, 1});
    const float along = lerp(-34, 34, t);
    const Sdf band = [=](Vec2 p) { return std::abs(dot(p - kMid, dir) - along) - 4.5f; };
    paintGloss(c, face, band, 0.5f, 2.5f);
    const Sdf thin = [=](Vec2 p) { return std::abs(dot(p - kMid, dir) - along + 9) - 1.2f; };
    paintGloss(c, face, thin, 0.35f, 1.0f);
    // A small twinkle at the top corner, brightest mid-sweep.
    if (glow > 0.05f) {
        const Vec2 spark = {32, 10};
        const float size = 6.5f * glow;
        paintSoft(c, star(spark, size, size * 0.22f, 4), {1, 1, 1, 0.9f}, 0.8f);
    }
    return c;
}

}  // namespace

void addSwitchShine(Pictures& out) {
    for (int k = 0; k < kFrames; ++k) {
        out.push_back({"swc" + std::to_string(k + 1) + ".png", shineFrame(k)});
    }
}
