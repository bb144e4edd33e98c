#pragma once

#include <algorithm>
#include <cmath>

// 2D point or direction in image pixels, y pointing down.
struct Vec2 {
    float x = 0;
    float y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(Vec2 a, float s) {
    return {a.x * s, a.y * s};
}
inline Vec2 operator*(float s, Vec2 a) {
    return {a.x * s, a.y * s};
}
inline float dot(Vec2 a, Vec2 b) {
    return a.x * b.x + a.y * b.y;
}
inline float cross(Vec2 a, Vec2 b) {
    return a.x * b.y - a.y * b.x;
}
inline float length(Vec2 a) {
    return std::sqrt(dot(a, a));
}
inline Vec2 normalized(Vec2 a) {
    const float l = length(a);
    return l > 0 ? a * (1.0f / l) : Vec2{0, 0};
}
// Turns a point around the origin; positive angles turn clockwise on screen.
inline Vec2 rotated(Vec2 a, float radians) {
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    return {a.x * c - a.y * s, a.x * s + a.y * c};
}

constexpr float kPi = 3.14159265358979f;

inline float clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}
inline float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}
inline float smoothstep(float edge0, float edge1, float v) {
    const float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}
