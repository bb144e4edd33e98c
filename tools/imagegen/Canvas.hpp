#pragma once

#include <cstdint>
#include <vector>

#include "Color.hpp"

// An RGBA picture kept premultiplied in floats, so that many soft layers can
// be stacked without banding; converted to 8 bits only when saved.
class Canvas {
  public:
    Canvas(int width, int height);

    int width() const { return w; }
    int height() const { return h; }

    // Lays colour c over the pixel with the given coverage (0..1), "over" rule.
    void blend(int x, int y, Rgba c, float coverage);
    // Straight colour of a pixel (transparent black outside).
    Rgba at(int x, int y) const;
    // Lays a whole picture over this one with its top-left corner at (x, y),
    // scaled by an integer-free factor (box filtered when shrinking).
    void drawCanvas(const Canvas& other, float x, float y, float scale = 1.0f);
    // Clears everything to one colour.
    void fill(Rgba c);
    // Multiplies every pixel's alpha by f(x, y) in 0..1 (used to cut shapes out).
    template <typename F>
    void maskBy(F f) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const float m = f(x, y);
                Premul& p = px[y * w + x];
                p.r *= m;
                p.g *= m;
                p.b *= m;
                p.a *= m;
            }
        }
    }

    // Straight RGBA bytes, rows top to bottom, rounded to nearest.
    std::vector<std::uint8_t> toRgba8() const;

  private:
    struct Premul {
        float r = 0, g = 0, b = 0, a = 0;
    };
    int w;
    int h;
    std::vector<Premul> px;
};
