#include "Sdf.hpp"

#include <limits>

namespace {

float segmentDistance(Vec2 p, Vec2 a, Vec2 b) {
    const Vec2 ab = b - a;
    const float len2 = dot(ab, ab);
    const float t = len2 > 0 ? clamp01(dot(p - a, ab) / len2) : 0;
    return length(p - (a + ab * t));
}

// Winding contribution of one edge for the non-zero rule.
int winding(Vec2 p, Vec2 a, Vec2 b) {
    if (a.y <= p.y) {
        if (b.y > p.y && cross(b - a, p - a) > 0) {
            return 1;
        }
    } else if (b.y <= p.y && cross(b - a, p - a) < 0) {
        return -1;
    }
    return 0;
}

struct Bounds {
    Vec2 lo{std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
    Vec2 hi{-std::numeric_limits<float>::max(), -std::numeric_limits<float>::max()};
    void add(Vec2 p) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
    }
    // Distance from p to the box, 0 inside: a lower bound of the distance to
    // anything within it.
    float distance(Vec2 p) const {
        const float dx = std::max({lo.x - p.x, 0.0f, p.x - hi.x});
        const float dy = std::max({lo.y - p.y, 0.0f, p.y - hi.y});
        return std::sqrt(dx * dx + dy * dy);
    }
};

}  // namespace

Sdf circle(Vec2 centre, float radius) {
    return [=](Vec2 p) { return length(p - centre) - radius; };
}

Sdf ellipse(Vec2 centre, Vec2 radii) {
    return [=](Vec2 p) {
        const Vec2 q = p - centre;
        const float k0 = length({q.x / radii.x, q.y / radii.y});
        const float k1 = length({q.x / (radii.x * radii.x), q.y / (radii.y * radii.y)});
        if (k1 <= 0) {
            return -std::min(radii.x, radii.y);
        }
        return k0 * (k0 - 1) / k1;
    };
}

Sdf box(Vec2 centre, Vec2 halfSize, float cornerRadius) {
    return [=](Vec2 p) {
        const Vec2 q = {std::abs(p.x - centre.x) - halfSize.x + cornerRadius,
                        std::abs(p.y - centre.y) - halfSize.y + cornerRadius};
        const float outside = length({std::max(q.x, 0.0f), std::max(q.y, 0.0f)});
        const float inside = std::min(std::max(q.x, q.y), 0.0f);
        return outside + inside - cornerRadius;
    };
}

Sdf capsule(Vec2 a, Vec2 b, float radius) {
    return [=](Vec2 p) { return segmentDistance(p, a, b) - radius; };
}

Sdf arc(Vec2 centre, float radius, float a0, float a1, float halfWidth) {
    const Vec2 e0 = centre + Vec2{std::cos(a0), std::sin(a0)} * radius;
    const Vec2 e1 = centre + Vec2{std::cos(a1), std::sin(a1)} * radius;
    return [=](Vec2 p) {
        const Vec2 q = p - centre;
        float angle = std::atan2(q.y, q.x);
        // Bring the angle into [a0, a0 + 2 pi) to test whether it lies on the arc.
        while (angle < a0) {
            angle += 2 * kPi;
        }
        while (angle >= a0 + 2 * kPi) {
            angle -= 2 * kPi;
        }
        float d;
        if (angle <= a1) {
            d = std::abs(length(q) - radius);
        } else {
            d = std::min(length(p - e0), length(p - e1));
        }
        return d - halfWidth;
    };
}

Sdf contours(std::vector<std::vector<Vec2>> rings) {
    Bounds bounds;
    for (const auto& ring : rings) {
        for (Vec2 v : ring) {
            bounds.add(v);
        }
    }
    return [rings = std::move(rings), bounds](Vec2 p) {
        // Far from the outline only "far" matters; skipping the exact edge
        // search there keeps long texts quick.
        constexpr float kExactRange = 48;
        const float far = bounds.distance(p);
        if (far > kExactRange) {
            return far;
        }
        float best = std::numeric_limits<float>::max();
        int wind = 0;
        for (const auto& ring : rings) {
            const size_t n = ring.size();
            for (size_t i = 0; i < n; ++i) {
                const Vec2 a = ring[i];
                const Vec2 b = ring[(i + 1) % n];
                best = std::min(best, segmentDistance(p, a, b));
                wind += winding(p, a, b);
            }
        }
        return wind != 0 ? -best : best;
    };
}

Sdf polygon(std::vector<Vec2> points) {
    return contours({std::move(points)});
}

Sdf star(Vec2 centre, float outerRadius, float innerRadius, int points, float rotation) {
    std::vector<Vec2> ring;
    for (int i = 0; i < points * 2; ++i) {
        const float r = i % 2 == 0 ? outerRadius : innerRadius;
        const float a = -kPi / 2 + rotation + i * kPi / points;
        ring.push_back(centre + Vec2{std::cos(a), std::sin(a)} * r);
    }
    return polygon(ring);
}

Sdf regular(Vec2 centre, float radius, int corners, float rotation) {
    std::vector<Vec2> ring;
    for (int i = 0; i < corners; ++i) {
        const float a = -kPi / 2 + rotation + i * 2 * kPi / corners;
        ring.push_back(centre + Vec2{std::cos(a), std::sin(a)} * radius);
    }
    return polygon(ring);
}

Sdf unite(Sdf a, Sdf b) {
    return [=](Vec2 p) { return std::min(a(p), b(p)); };
}

Sdf smoothUnite(Sdf a, Sdf b, float k) {
    return [=](Vec2 p) {
        const float da = a(p), db = b(p);
        const float h = clamp01(0.5f + 0.5f * (db - da) / k);
        return lerp(db, da, h) - k * h * (1 - h);
    };
}

Sdf intersect(Sdf a, Sdf b) {
    return [=](Vec2 p) { return std::max(a(p), b(p)); };
}

Sdf subtract(Sdf a, Sdf b) {
    return [=](Vec2 p) { return std::max(a(p), -b(p)); };
}

Sdf offset(Sdf a, float by) {
    return [=](Vec2 p) { return a(p) - by; };
}

Sdf translate(Sdf a, Vec2 by) {
    return [=](Vec2 p) { return a(p - by); };
}

Sdf rotate(Sdf a, Vec2 pivot, float radians) {
    return [=](Vec2 p) { return a(pivot + rotated(p - pivot, -radians)); };
}

Sdf scale(Sdf a, Vec2 pivot, float factor) {
    return [=](Vec2 p) { return a(pivot + (p - pivot) * (1 / factor)) * factor; };
}
