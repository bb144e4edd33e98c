#include "ContactSheet.hpp"

#include <algorithm>
#include <map>

#include "Font.hpp"
#include "Paint.hpp"
#include "Palette.hpp"

namespace {

constexpr int kSheetWidth = 1800;
constexpr int kMargin = 24;
constexpr int kGap = 18;
constexpr float kLabelSize = 13;
constexpr int kLabelHeight = 20;

const Canvas* find(const Pictures& pictures, const std::string& name) {
    for (const Picture& p : pictures) {
        if (p.name == name) {
            return &p.canvas;
        }
    }
    return nullptr;
}

// A few rows of level built from the tiles, with the ball in it, to see the
// pictures together as the game shows them.
Canvas sampleScene(const Pictures& pictures) {
    const std::vector<std::string> rows = {
        "WWWWWWWWWWWWWWW", "W.....d.......W", "W.P....b.c..F.W", "W...s...r...X.W",
        "Wa..WWWkxW..WWW", "WWe.......T..gW", "WWWWWWWWWWWWWWW",
    };
    const std::map<char, std::string> tiles = {
        {'W', "wall.png"},
        {'F', "finish.png"},
        {'X', "destroyable.png"},
        {'d', "dynamicdiamond.png"},
        {'b', "dynamiccircle.png"},
        {'s', "switchgreen.png"},
        {'r', "colorroundgreen.png"},
        {'c', "colorroundpurple.png"},
        {'k', "penalty.png"},
        {'a', "wallupperleft.png"},
        {'e', "wallupperleft.png"},
        {'x', "switchyellow.png"},
        {'T', "colorroundyellow.png"},
        {'g', "walllowerright.png"},
    };
    Canvas scene(static_cast<int>(rows[0].size()) * 64, static_cast<int>(rows.size()) * 64);
    scene.fill(palette::kSky);
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t col = 0; col < rows[r].size(); ++col) {
            const auto it = tiles.find(rows[r][col]);
            if (it == tiles.end()) {
                continue;
            }
            if (const Canvas* tile = find(pictures, it->second)) {
                scene.drawCanvas(*tile, col * 64.0f, r * 64.0f);
            }
        }
    }
    // The ball: body, eyes and mouth drawn on one centre, as the game does.
    for (const char* part : {"bodyred.png", "eyel1.png", "eyer1.png", "mouth1.png"}) {
        if (const Canvas* c = find(pictures, part)) {
            scene.drawCanvas(*c, 2 * 64.0f, 2 * 64.0f);
        }
    }
    for (const char* part : {"switchgreen.png", "swc5.png"}) {
        if (const Canvas* c = find(pictures, part)) {
            scene.drawCanvas(*c, 4 * 64.0f, 3 * 64.0f);
        }
    }
    return scene;
}

struct Placed {
    const Canvas* canvas;
    std::string label;
    int x, y;
};

}  // namespace

Canvas contactSheet(const Pictures& pictures, const Font& font) {
    const Canvas scene = sampleScene(pictures);
    std::vector<Placed> placed;
    int x = kMargin;
    int y = kMargin + scene.height() + kGap + kLabelHeight;
    int rowHeight = 0;
    for (const Picture& p : pictures) {
        const Font::Line label = font.layout(p.name, kLabelSize);
        const int cellWidth = std::max(p.canvas.width(), static_cast<int>(label.advance) + 4);
        if (x + cellWidth > kSheetWidth - kMargin) {
            x = kMargin;
            y += rowHeight + kLabelHeight + kGap;
            rowHeight = 0;
        }
        placed.push_back({&p.canvas, p.name, x, y});
        x += cellWidth + kGap;
        rowHeight = std::max(rowHeight, p.canvas.height());
    }
    const int height = y + rowHeight + kLabelHeight + kMargin;
    Canvas sheet(kSheetWidth, height);
    sheet.fill(palette::kSky);
    sheet.drawCanvas(scene, kMargin, kMargin);
    const Rgba ink = rgb(20, 24, 48);
    Canvas labels(kSheetWidth, height);
    for (const Placed& p : placed) {
        sheet.drawCanvas(*p.canvas, p.x, p.y);
        const Font::Line line = font.layout(p.label, kLabelSize);
        const Vec2 at = {static_cast<float>(p.x),
                         static_cast<float>(p.y + p.canvas->height() + kLabelSize + 2)};
        // Labels are painted only around themselves to keep the sheet quick.
        const Sdf text = lineShape(line, at);
        const int x0 = p.x, x1 = std::min(kSheetWidth, p.x + static_cast<int>(line.advance) + 2);
        const int y0 = p.y + p.canvas->height(), y1 = std::min(height, y0 + kLabelHeight + 2);
        for (int py = y0; py < y1; ++py) {
            for (int px = x0; px < x1; ++px) {
                const float cover = clamp01(0.5f - text({px + 0.5f, py + 0.5f}));
                sheet.blend(px, py, ink, cover);
            }
        }
    }
    return sheet;
}
