#include "Canvas.hpp"

#include <cmath>

Canvas::Canvas(int width, int height) : w(width), h(height), px(width * height) {}

void Canvas::blend(int x, int y, Rgba c, float coverage) {
    if (x < 0 || y < 0 || x >= w || y >= h) {
        return;
    }
    const float a = clamp01(c.a * coverage);
    if (a <= 0) {
        return;
    }
    Premul& p = px[y * w + x];
    const float keep = 1 - a;
    p.r = c.r * a + p.r * keep;
    p.g = c.g * a + p.g * keep;
    p.b = c.b * a + p.b * keep;
    p.a = a + p.a * keep;
}

Rgba Canvas::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= w || y >= h) {
        return {0, 0, 0, 0};
    }
    const Premul& p = px[y * w + x];
    if (p.a <= 0) {
        return {0, 0, 0, 0};
    }
    return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

void Canvas::fill(Rgba c) {
    for (Premul& p : px) {
        p = {c.r * c.a, c.g * c.a, c.b * c.a, c.a};
    }
}

void Canvas::drawCanvas(const Canvas& other, float x, float y, float scale) {
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const int dw = static_cast<int>(std::ceil(other.w * scale));
    const int dh = static_cast<int>(std::ceil(other.h * scale));
    for (int dy = 0; dy < dh; ++dy) {
        for (int dx = 0; dx < dw; ++dx) {
            // Average the source pixels that fall into this target pixel.
            const float sx0 = dx / scale, sx1 = (dx + 1) / scale;
            const float sy0 = dy / scale, sy1 = (dy + 1) / scale;
            Premul sum;
            float weight = 0;
            for (int sy = static_cast<int>(sy0); sy < std::min<float>(sy1, other.h); ++sy) {
                for (int sx = static_cast<int>(sx0); sx < std::min<float>(sx1, other.w); ++sx) {
                    const Premul& s = other.px[sy * other.w + sx];
                    sum.r += s.r;
                    sum.g += s.g;
                    sum.b += s.b;
                    sum.a += s.a;
                    weight += 1;
                }
            }
            if (weight <= 0 || sum.a <= 0) {
                continue;
            }
            const float a = sum.a / weight;
            blend(x0 + dx, y0 + dy, {sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, a}, 1.0f);
        }
    }
}

std::vector<std::uint8_t> Canvas::toRgba8() const {
    std::vector<std::uint8_t> out(static_cast<size_t>(w) * h * 4);
    auto byte = [](float v) { return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255.0f)); };
    for (size_t i = 0; i < px.size(); ++i) {
        const Premul& p = px[i];
        const std::uint8_t a = byte(p.a);
        // Fully transparent pixels are stored as transparent black so that
        // invisible leftovers never change the file.
        if (a == 0) {
            continue;
        }
        out[i * 4 + 0] = byte(p.r / p.a);
        out[i * 4 + 1] = byte(p.g / p.a);
        out[i * 4 + 2] = byte(p.b / p.a);
        out[i * 4 + 3] = a;
    }
    return out;
}
