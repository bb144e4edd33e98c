#include "Font.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <limits>

namespace {

// Curves are cut into this many straight pieces; at our sizes the error stays
// well below a tenth of a pixel.
constexpr int kCurveSteps = 10;

struct OutlineSink {
    std::vector<std::vector<Vec2>> rings;
    Vec2 pen;
    float scale = 1;

    Vec2 point(const FT_Vector* v) const { return {v->x * scale, -v->y * scale}; }
};

int moveTo(const FT_Vector* to, void* user) {
    auto* sink = static_cast<OutlineSink*>(user);
    sink->pen = sink->point(to);
    sink->rings.push_back({sink->pen});
    return 0;
}

int lineTo(const FT_Vector* to, void* user) {
    auto* sink = static_cast<OutlineSink*>(user);
    sink->pen = sink->point(to);
    sink->rings.back().push_back(sink->pen);
    return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* sink = static_cast<OutlineSink*>(user);
    const Vec2 p0 = sink->pen, p1 = sink->point(control), p2 = sink->point(to);
    for (int i = 1; i <= kCurveSteps; ++i) {
        const float t = static_cast<float>(i) / kCurveSteps;
        const float u = 1 - t;
        sink->rings.back().push_back(p0 * (u * u) + p1 * (2 * u * t) + p2 * (t * t));
    }
    sink->pen = p2;
    return 0;
}

int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto* sink = static_cast<OutlineSink*>(user);
    const Vec2 p0 = sink->pen, p1 = sink->point(c1), p2 = sink->point(c2), p3 = sink->point(to);
    for (int i = 1; i <= kCurveSteps; ++i) {
        const float t = static_cast<float>(i) / kCurveSteps;
        const float u = 1 - t;
        sink->rings.back().push_back(p0 * (u * u * u) + p1 * (3 * u * u * t) +
                                     p2 * (3 * u * t * t) + p3 * (t * t * t));
    }
    sink->pen = p3;
    return 0;
}

}  // namespace

Font::Font(const std::string& path) {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) {
        return;
    }
    library = lib;
    FT_Face f = nullptr;
    if (FT_New_Face(lib, path.c_str(), 0, &f) != 0) {
        return;
    }
    face = f;
}

Font::~Font() {
    if (face) {
        FT_Done_Face(static_cast<FT_Face>(face));
    }
    if (library) {
        FT_Done_FreeType(static_cast<FT_Library>(library));
    }
}

Font::Line Font::layout(const std::string& text, float pixelSize) const {
    Line line;
    if (!face) {
        return line;
    }
    auto* f = static_cast<FT_Face>(face);
    // Unscaled, unhinted outlines scaled here: the result depends only on the
    // font file, never on hinting settings.
    const float scale = pixelSize / f->units_per_EM;
    FT_Outline_Funcs funcs = {moveTo, lineTo, conicTo, cubicTo, 0, 0};
    float penX = 0;
    FT_UInt previous = 0;
    line.inkMin = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
    line.inkMax = {-std::numeric_limits<float>::max(), -std::numeric_limits<float>::max()};
    for (unsigned char ch : text) {
        const FT_UInt index = FT_Get_Char_Index(f, ch);
        if (previous != 0 && index != 0 && FT_HAS_KERNING(f)) {
            FT_Vector kern;
            FT_Get_Kerning(f, previous, index, FT_KERNING_UNSCALED, &kern);
            penX += kern.x * scale;
        }
        if (FT_Load_Glyph(f, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) !=
            0) {
            continue;
        }
        OutlineSink sink;
        sink.scale = scale;
        FT_Outline_Decompose(&f->glyph->outline, &funcs, &sink);
        Vec2 lo = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
        Vec2 hi = {-std::numeric_limits<float>::max(), -std::numeric_limits<float>::max()};
        for (auto& ring : sink.rings) {
            for (Vec2& v : ring) {
                v.x += penX;
                lo = {std::min(lo.x, v.x), std::min(lo.y, v.y)};
                hi = {std::max(hi.x, v.x), std::max(hi.y, v.y)};
            }
        }
        if (!sink.rings.empty()) {
            line.inkMin = {std::min(line.inkMin.x, lo.x), std::min(line.inkMin.y, lo.y)};
            line.inkMax = {std::max(line.inkMax.x, hi.x), std::max(line.inkMax.y, hi.y)};
            line.glyphMin.push_back(lo);
            line.glyphMax.push_back(hi);
            line.glyphs.push_back(contours(std::move(sink.rings)));
        }
        penX += f->glyph->advance.x * scale;
        previous = index;
    }
    line.advance = penX;
    if (line.glyphs.empty()) {
        line.inkMin = line.inkMax = {0, 0};
    }
    return line;
}

float Font::capHeight(float pixelSize) const {
    const Line h = layout("H", pixelSize);
    return -h.inkMin.y;
}

Sdf lineShape(const Font::Line& line, Vec2 by) {
    return [glyphs = line.glyphs, lo = line.glyphMin, hi = line.glyphMax, by](Vec2 p) {
        const Vec2 q = p - by;
        // A glyph's box is never farther than the glyph itself, so glyphs whose
        // box lies beyond the best distance found so far can be passed over.
        // Start with the nearest box: usually the answer.
        auto boxDistance = [&](size_t i) {
            const float dx = std::max({lo[i].x - q.x, 0.0f, q.x - hi[i].x});
            const float dy = std::max({lo[i].y - q.y, 0.0f, q.y - hi[i].y});
            return std::sqrt(dx * dx + dy * dy);
        };
        size_t nearest = 0;
        float nearestBox = std::numeric_limits<float>::max();
        for (size_t i = 0; i < glyphs.size(); ++i) {
            const float d = boxDistance(i);
            if (d < nearestBox) {
                nearestBox = d;
                nearest = i;
            }
        }
        if (glyphs.empty()) {
            return std::numeric_limits<float>::max();
        }
        float best = glyphs[nearest](q);
        for (size_t i = 0; i < glyphs.size(); ++i) {
            if (i != nearest && boxDistance(i) < best) {
                best = std::min(best, glyphs[i](q));
            }
        }
        return best;
    };
}
