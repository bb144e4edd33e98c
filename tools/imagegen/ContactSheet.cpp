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

// The bottom of the play screen as the game lays it out: the "time" label's
// top-left corner at (10, 960), digits from x = 180 centred on y = 984, each
// digit edge to edge, and the badge centred on (640, 960); shown 1280 wide.
Canvas sampleHud(const Pictures& pictures) {
    constexpr int kTop = 900;
    Canvas hud(1280, 1024 - kTop);
    hud.fill(palette::kSky);
    if (const Canvas* label = find(pictures, "time.png")) {
        hud.drawCanvas(*label, 10, 960 - kTop);
    }
    float pen = 180, previousHalf = 0;
    for (char ch : std::string("1:05.250")) {
        const std::string name = ch == ':'   ? "scorefont/colon.png"
                                 : ch == '.' ? "scorefont/dot.png"
                                             : std::string("scorefont/") + ch + ".png";
        const Canvas* glyph = find(pictures, name);
        if (!glyph) {
            continue;
        }
        const float half = glyph->width() / 2;
        pen += previousHalf + half;
        hud.drawCanvas(*glyph, pen - glyph->width() / 2, 984 - kTop - glyph->height() / 2);
        previousHalf = half;
    }
    if (const Canvas* badge = find(pictures, "personalbest.png")) {
        hud.drawCanvas(*badge, 640 - badge->width() / 2, 960 - kTop - badge->height() / 2);
    }
    // The finish banner's letters edge to edge, centred, top at a common line.
    int total = 0;
    const char* letters[] = {"f", "i1", "n", "i2", "s", "h", "e", "d"};
    for (const char* l : letters) {
        if (const Canvas* c = find(pictures, std::string("finished/") + l + ".png")) {
            total += c->width();
        }
    }
    Canvas both(1280, hud.height() + 250);
    both.fill(palette::kSky);
    int x = 640 - total / 2;
    for (int i = 0; i < 8; ++i) {
        if (const Canvas* c = find(pictures, std::string("finished/") + letters[i] + ".png")) {
            both.drawCanvas(*c, x, 40 + 30 * std::sin(0.2f * (i + 1) * 3));
            x += c->width();
        }
    }
    both.drawCanvas(hud, 0, 250);
    return both;
}

struct Placed {
    const Canvas* canvas;
    std::string label;
    int x, y;
};

}  // namespace

Canvas contactSheet(const Pictures& pictures, const Font& font) {
    const Canvas scene = sampleScene(pictures);
    const Canvas hud = sampleHud(pictures);
    std::vector<Placed> placed;
    int x = kMargin;
    int y = kMargin + scene.height() + kGap + hud.height() + kGap + kLabelHeight;
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
    sheet.drawCanvas(hud, kMargin, kMargin + scene.height() + kGap);
    const Rgba ink = rgb(20, 24, 48);
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
