#include "Paint.hpp"

namespace {

// Light comes from the upper left; outward normals facing it are lit.
const Vec2 kLight = normalized({-0.55f, -0.85f});

// Pixels are walked in square blocks; a block whose centre lies farther from
// the shape than the block's half diagonal plus `reach` cannot be touched and
// is skipped. This keeps large pictures with many layers quick. Shapes must
// not overstate distances for this (they understate at most).
constexpr int kBlock = 8;

template <typename F>
void forEachPixelNear(Canvas& canvas, const Sdf& shape, float reach, F paintPixel) {
    const float halfDiagonal = kBlock * 0.7072f;
    for (int by = 0; by < canvas.height(); by += kBlock) {
        for (int bx = 0; bx < canvas.width(); bx += kBlock) {
            const Vec2 mid = {bx + kBlock * 0.5f, by + kBlock * 0.5f};
            // Allow a generous factor: a few shapes are only roughly distances.
            if (shape(mid) > (halfDiagonal + reach) * 1.5f + 2) {
                continue;
            }
            const int yEnd = std::min(canvas.height(), by + kBlock);
            const int xEnd = std::min(canvas.width(), bx + kBlock);
            for (int y = by; y < yEnd; ++y) {
                for (int x = bx; x < xEnd; ++x) {
                    paintPixel(x, y, Vec2{x + 0.5f, y + 0.5f});
                }
            }
        }
    }
}

}  // namespace

Fill flat(Rgba c) {
    return [=](Vec2) { return c; };
}

Fill vertical(Rgba top, float y0, Rgba bottom, float y1) {
    return [=](Vec2 p) { return mix(top, bottom, smoothstep(y0, y1, p.y)); };
}

Fill sphere(Vec2 centre, float radius, Rgba base) {
    return [=](Vec2 p) {
        const Vec2 q = (p - centre) * (1 / radius);
        const float r2 = std::min(1.0f, dot(q, q));
        const float z = std::sqrt(1 - r2);
        // Normal (q.x, q.y, z) against a light from the upper left and front.
        const float lx = -0.45f, ly = -0.6f, lz = 0.66f;
        const float lambert = std::max(0.0f, q.x * lx + q.y * ly + z * lz);
        Rgba c = shade(base, (lambert - 0.62f) * 0.75f);
        // Soft bounce light along the lower right rim keeps the dark side lively.
        const float rim = smoothstep(0.75f, 1.0f, std::sqrt(r2)) * clamp01(q.x + q.y);
        return shade(c, rim * 0.12f);
    };
}

void paintShape(Canvas& canvas, const Sdf& shape, const Look& look) {
    forEachPixelNear(canvas, shape, 1, [&](int x, int y, Vec2 p) {
        const float d = shape(p);
        const float outer = clamp01(0.5f - d);
        if (outer <= 0) {
            return;
        }
        const float inner = clamp01(0.5f - (d + look.outlineWidth));
        Rgba c = look.outline;
        if (inner > 0) {
            const Vec2 n = normalized({shape(p + Vec2{0.5f, 0}) - shape(p - Vec2{0.5f, 0}),
                                       shape(p + Vec2{0, 0.5f}) - shape(p - Vec2{0, 0.5f})});
            const float depth = -(d + look.outlineWidth);
            const float edge = 1 - smoothstep(0, look.bevelWidth, depth);
            float amount = dot(n, kLight) * edge * look.bevelStrength;
            // Lit edges a little softer than shaded ones reads as a rounded rim.
            amount = amount > 0 ? amount * 0.8f : amount * 0.7f;
            c = mix(look.outline, shade(look.fill(p), amount), inner);
        }
        canvas.blend(x, y, c, outer);
    });
}

void paintFlat(Canvas& canvas, const Sdf& shape, Rgba colour) {
    forEachPixelNear(canvas, shape, 1, [&](int x, int y, Vec2 p) {
        const float cover = clamp01(0.5f - shape(p));
        if (cover > 0) {
            canvas.blend(x, y, colour, cover);
        }
    });
}

void paintSoft(Canvas& canvas, const Sdf& shape, Rgba colour, float softness) {
    forEachPixelNear(canvas, shape, softness, [&](int x, int y, Vec2 p) {
        const float cover = smoothstep(softness, -softness, shape(p));
        if (cover > 0) {
            canvas.blend(x, y, colour, cover);
        }
    });
}

void paintShadow(Canvas& canvas, const Sdf& shape, Vec2 by, float softness, float alpha) {
    paintSoft(canvas, translate(shape, by), {0.05f, 0.04f, 0.12f, alpha}, softness);
}

void paintGloss(Canvas& canvas, const Sdf& clip, const Sdf& gloss, float alpha, float softness) {
    forEachPixelNear(canvas, clip, 1, [&](int x, int y, Vec2 p) {
        const float inside = clamp01(0.5f - clip(p));
        if (inside <= 0) {
            return;
        }
        const float cover = smoothstep(softness, -softness, gloss(p)) * inside;
        canvas.blend(x, y, {1, 1, 1, alpha}, cover);
    });
}
