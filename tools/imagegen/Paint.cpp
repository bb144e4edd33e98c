#include "Paint.hpp"

namespace {

// Light comes from the upper left; outward normals facing it are lit.
const Vec2 kLight = normalized({-0.55f, -0.85f});

Vec2 centreOf(int x, int y) {
    return {x + 0.5f, y + 0.5f};
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
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const Vec2 p = centreOf(x, y);
            const float d = shape(p);
            const float outer = clamp01(0.5f - d);
            if (outer <= 0) {
                continue;
            }
            const float inner = clamp01(0.5f - (d + look.outlineWidth));
            Rgba c = look.outline;
            if (inner > 0) {
                const Vec2 n = normalized({shape(p + Vec2{0.5f, 0}) - shape(p - Vec2{0.5f, 0}),
                                           shape(p + Vec2{0, 0.5f}) - shape(p - Vec2{0, 0.5f})});
                const float depth = -(d + look.outlineWidth);
                const float edge = 1 - smoothstep(0, look.bevelWidth, depth);
                float amount = dot(n, kLight) * edge * look.bevelStrength;
                // Shadows on the far side read stronger than highlights look good.
                amount = amount > 0 ? amount * 0.8f : amount * 0.7f;
                const Rgba body = shade(look.fill(p), amount);
                c = mix(look.outline, body, inner);
            }
            canvas.blend(x, y, c, outer);
        }
    }
}

void paintFlat(Canvas& canvas, const Sdf& shape, Rgba colour) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const float cover = clamp01(0.5f - shape(centreOf(x, y)));
            if (cover > 0) {
                canvas.blend(x, y, colour, cover);
            }
        }
    }
}

void paintSoft(Canvas& canvas, const Sdf& shape, Rgba colour, float softness) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const float cover = smoothstep(softness, -softness, shape(centreOf(x, y)));
            if (cover > 0) {
                canvas.blend(x, y, colour, cover);
            }
        }
    }
}

void paintShadow(Canvas& canvas, const Sdf& shape, Vec2 by, float softness, float alpha) {
    paintSoft(canvas, translate(shape, by), {0.05f, 0.04f, 0.12f, alpha}, softness);
}

void paintGloss(Canvas& canvas, const Sdf& clip, const Sdf& gloss, float alpha, float softness) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const Vec2 p = centreOf(x, y);
            const float inside = clamp01(0.5f - clip(p));
            if (inside <= 0) {
                continue;
            }
            const float cover = smoothstep(softness, -softness, gloss(p)) * inside;
            canvas.blend(x, y, {1, 1, 1, alpha}, cover);
        }
    }
}
