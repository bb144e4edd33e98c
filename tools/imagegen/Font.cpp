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
        for (auto& ring : sink.rings) {
            for (Vec2& v : ring) {
                v.x += penX;
                line.inkMin = {std::min(line.inkMin.x, v.x), std::min(line.inkMin.y, v.y)};
                line.inkMax = {std::max(line.inkMax.x, v.x), std::max(line.inkMax.y, v.y)};
            }
        }
        if (!sink.rings.empty()) {
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
    std::vector<Sdf> glyphs = line.glyphs;
    return [glyphs, by](Vec2 p) {
        float best = std::numeric_limits<float>::max();
        for (const Sdf& g : glyphs) {
            best = std::min(best, g(p - by));
        }
        return best;
    };
}
