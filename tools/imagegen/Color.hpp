#pragma once

#include "Vec.hpp"

// Straight (not premultiplied) colour, every channel 0..1.
struct Rgba {
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 1;
};

// Colour from 0..255 channel values, as artists pick them.
constexpr Rgba rgb(int r, int g, int b, int a = 255) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f};
}

inline Rgba mix(Rgba a, Rgba b, float t) {
    return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t), lerp(a.a, b.a, t)};
}
inline Rgba withAlpha(Rgba c, float a) {
    return {c.r, c.g, c.b, a};
}
// Positive amounts move towards white, negative towards black; alpha stays.
inline Rgba shade(Rgba c, float amount) {
    const Rgba target = amount > 0 ? Rgba{1, 1, 1, c.a} : Rgba{0, 0, 0, c.a};
    return mix(c, target, std::min(1.0f, std::abs(amount)));
}
