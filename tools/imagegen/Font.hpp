#pragma once

#include <string>
#include <vector>

#include "Sdf.hpp"

// Glyph outlines of a TrueType font, read with FreeType and turned into
// polygons, so that letters go through the same shape painter as everything
// else (outline, bevel, shine) instead of being stamped as flat bitmaps.
class Font {
  public:
    explicit Font(const std::string& path);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    bool ok() const { return face != nullptr; }

    // A line of text laid out at `pixelSize` (the em size), pen starting at
    // x = 0 on the baseline y = 0, y pointing down, with the font's kerning.
    struct Line {
        std::vector<Sdf> glyphs;     // one shape per visible glyph
        std::vector<Vec2> glyphMin;  // ink bounds of each glyph
        std::vector<Vec2> glyphMax;
        float advance = 0;  // pen position after the last glyph
        Vec2 inkMin;        // bounds of the outlines
        Vec2 inkMax;
    };
    Line layout(const std::string& text, float pixelSize) const;
    // Height above the baseline of capital letters and digits, in pixels.
    float capHeight(float pixelSize) const;

  private:
    void* library = nullptr;  // FT_Library
    void* face = nullptr;     // FT_Face
};

// All glyphs of a line as one shape, moved by `by`.
Sdf lineShape(const Font::Line& line, Vec2 by);
