// Particle pictures: the cloud puff of the backdrop, the star of contact
// bursts and the "+3s" of a penalty. The game tints the star with the burst
// colour (a multiply), so it is drawn in white and greys; the cloud is tinted
// white at low alpha, so it is white with soft, fully transparent edges.
#include <cmath>

#include "Lettering.hpp"
#include "Palette.hpp"
#include "Pictures.hpp"

namespace {

constexpr int kCloudSize = 256;
constexpr int kStarSize = 40;
constexpr int kPenaltySize = 128;

// A round puff made of overlapping blobs; fixed positions keep it the same on
// every run and round enough to look right at any spin angle.
Canvas cloud() {
    Canvas c(kCloudSize, kCloudSize);
    const Vec2 mid = {kCloudSize / 2.0f, kCloudSize / 2.0f};
    struct Blob {
        float x, y, r;
    };
    const Blob blobs[] = {{0, 8, 58},    {-46, 18, 40}, {46, 20, 42},  {-24, -26, 44},
                          {28, -24, 46}, {-62, -4, 28}, {66, -2, 30},  {0, -48, 34},
                          {-30, 44, 32}, {30, 46, 30},  {-56, 40, 22}, {58, 42, 22}};
    Sdf shape = circle(mid + Vec2{blobs[0].x, blobs[0].y}, blobs[0].r);
    for (const Blob& b : blobs) {
        shape = smoothUnite(shape, circle(mid + Vec2{b.x, b.y}, b.r), 14);
    }
    // Edges fade over a wide band; the body is white with a faint cool shade
    // underneath, so overlapping clouds still read as separate puffs.
    constexpr float kFade = 15;
    for (int y = 0; y < kCloudSize; ++y) {
        for (int x = 0; x < kCloudSize; ++x) {
            const Vec2 p = {x + 0.5f, y + 0.5f};
            const float d = shape(p) + 6;
            const float alpha = smoothstep(kFade, -kFade, d);
            // Keep the canvas border itself fully transparent whatever the shape.
            const float border = std::min({p.x, p.y, kCloudSize - p.x, kCloudSize - p.y});
            const float edge = smoothstep(0, 12, border);
            const float underside = smoothstep(mid.y - 30, mid.y + 80, p.y);
            const Rgba colour = mix(palette::kWhite, rgb(206, 216, 238), underside * 0.7f);
            c.blend(x, y, colour, alpha * edge);
        }
    }
    return c;
}

Canvas burstStar() {
    Canvas c(kStarSize, kStarSize);
    const Vec2 mid = {kStarSize / 2.0f, kStarSize / 2.0f + 1};
    const Sdf shape = offset(star(mid, 17, 7.5f, 5), 1.2f);
    paintSoft(c, offset(shape, 1.5f), rgb(255, 255, 255, 90), 2.0f);
    Look look;
    look.fill = vertical(palette::kWhite, mid.y - 17, rgb(200, 200, 200), mid.y + 15);
    look.outline = rgb(70, 70, 70);
    look.outlineWidth = 2.0f;
    look.bevelWidth = 4;
    look.bevelStrength = 0.5f;
    paintShape(c, shape, look);
    paintGloss(c, shape, ellipse(mid + Vec2{-3, -6}, {4, 2.5f}), 0.7f, 1.5f);
    return c;
}

Canvas penaltyBadge(const Font& font) {
    Canvas c(kPenaltySize, kPenaltySize);
    const Vec2 mid = {kPenaltySize / 2.0f, kPenaltySize / 2.0f};
    // A spiky red seal: unmistakably a penalty, round enough to spin.
    const Sdf seal = offset(star(mid, 58, 50, 16), 2);
    Look look;
    look.fill = sphere(mid, 58, rgb(236, 52, 44));
    look.outline = palette::kOutline;
    look.outlineWidth = 3.5f;
    look.bevelWidth = 6;
    paintShape(c, seal, look);
    paintFlat(c, subtract(circle(mid, 43), circle(mid, 40.5f)), withAlpha(palette::kGold, 0.85f));
    const Font::Line text = font.layout("+3s", 40);
    const Vec2 at = {mid.x - (text.inkMin.x + text.inkMax.x) / 2,
                     mid.y - (text.inkMin.y + text.inkMax.y) / 2};
    LetterStyle style;
    style.fill =
        vertical(palette::kWhite, at.y + text.inkMin.y, rgb(255, 226, 140), at.y + text.inkMax.y);
    style.outline = 3.5f;
    style.shadowOffset = 2;
    style.shadowSoftness = 1.5f;
    style.bevel = 3;
    style.shine = 0.2f;
    paintLettering(c, lineShape(text, at), style, at.y + text.inkMin.y, at.y + text.inkMax.y);
    paintGloss(c, circle(mid, 40), ellipse(mid + Vec2{-16, -24}, {18, 8}), 0.3f, 3);
    return c;
}

}  // namespace

void addEffects(Pictures& out, const Font& font) {
    out.push_back({"lightsmoke.png", cloud()});
    out.push_back({"star.png", burstStar()});
    out.push_back({"3spenalty.png", penaltyBadge(font)});
}
