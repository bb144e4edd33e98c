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
constexpr float kHeadingSize = 22;
constexpr int kHeadingHeight = 40;
const Rgba kInk = rgb(20, 24, 48);

const Canvas* find(const Pictures& pictures, const std::string& name) {
    for (const Picture& p : pictures) {
        if (p.name == name) {
            return &p.canvas;
        }
    }
    return nullptr;
}

// Draws a picture centred on (x, y), as the game's sprites with their origin
// at the image centre are drawn.
void drawCentred(Canvas& target, const Pictures& pictures, const std::string& name, float x,
                 float y) {
    if (const Canvas* c = find(pictures, name)) {
        target.drawCanvas(*c, x - c->width() / 2, y - c->height() / 2);
    }
}

// Only the area around the text is walked, to keep the sheet quick.
void writeText(Canvas& sheet, const Font& font, const std::string& text, float size, int x, int y) {
    const Font::Line line = font.layout(text, size);
    const Sdf shape = lineShape(line, {static_cast<float>(x), static_cast<float>(y) + size});
    const int x1 = std::min(sheet.width(), x + static_cast<int>(line.advance) + 2);
    const int y1 = std::min(sheet.height(), y + static_cast<int>(size * 1.4f));
    for (int py = std::max(0, y); py < y1; ++py) {
        for (int px = std::max(0, x); px < x1; ++px) {
            sheet.blend(px, py, kInk, clamp01(0.5f - shape({px + 0.5f, py + 0.5f})));
        }
    }
}

// A few rows of level built from the tiles, with the ball in it.
Canvas sampleLevel(const Pictures& pictures) {
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
            if (it != tiles.end()) {
                drawCentred(scene, pictures, it->second, col * 64.0f + 32, r * 64.0f + 32);
            }
        }
    }
    // Body, eyes and mouth on one centre, as the game draws the ball.
    for (const char* part : {"bodyred.png", "eyel1.png", "eyer1.png", "mouth1.png"}) {
        drawCentred(scene, pictures, part, 2 * 64 + 32, 2 * 64 + 32);
    }
    drawCentred(scene, pictures, "swc5.png", 4 * 64 + 32, 3 * 64 + 32);
    drawCentred(scene, pictures, "swc2.png", 8 * 64 + 32, 4 * 64 + 32);
    return scene;
}

// The top of the main menu: clouds (tinted to alpha 93 as the game does),
// the title logo centred on (650, 170) and the mascots on (135, 135) and
// (1145, 135).
Canvas sampleMenu(const Pictures& pictures) {
    Canvas menu(1280, 360);
    menu.fill(palette::kSky);
    if (const Canvas* cloud = find(pictures, "lightsmoke.png")) {
        Canvas faint = *cloud;
        faint.maskBy([](int, int) { return 93.0f / 255; });
        for (Vec2 at : {Vec2{330, 260}, Vec2{900, 60}, Vec2{1180, 320}, Vec2{40, 330}}) {
            menu.drawCanvas(faint, at.x - faint.width() / 2, at.y - faint.height() / 2);
        }
    }
    drawCentred(menu, pictures, "rvlogo.png", 650, 170);
    const char* rightEyes[] = {"bighead/eyel1.png", "bighead/eyer1.png"};
    const char* leftEyes[] = {"bighead/eyel5.png", "bighead/eyer2.png"};
    for (int m = 0; m < 2; ++m) {
        const float x = m == 0 ? 135 : 1145;
        drawCentred(menu, pictures, "bighead/bodyred.png", x, 135);
        drawCentred(menu, pictures, (m == 0 ? leftEyes : rightEyes)[0], x, 135);
        drawCentred(menu, pictures, (m == 0 ? leftEyes : rightEyes)[1], x, 135);
        drawCentred(menu, pictures, "bighead/mouth.png", x, 135);
    }
    return menu;
}

// The bottom of the play screen: the "time" label's top-left corner at
// (10, 960), digits from x = 180 centred on y = 984, edge to edge, the badge
// centred on (640, 960); above it the finish banner's letters in a row.
Canvas sampleHud(const Pictures& pictures) {
    constexpr int kBanner = 250;
    constexpr int kTop = 900;
    Canvas hud(1280, kBanner + 1024 - kTop);
    hud.fill(palette::kSky);
    const char* letters[] = {"f", "i1", "n", "i2", "s", "h", "e", "d"};
    int total = 0;
    for (const char* l : letters) {
        if (const Canvas* c = find(pictures, std::string("finished/") + l + ".png")) {
            total += c->width();
        }
    }
    int x = 640 - total / 2;
    for (int i = 0; i < 8; ++i) {
        if (const Canvas* c = find(pictures, std::string("finished/") + letters[i] + ".png")) {
            hud.drawCanvas(*c, x, 40 + 30 * std::sin(0.2f * (i + 1) * 3));
            x += c->width();
        }
    }
    const float shift = kBanner - kTop;
    if (const Canvas* label = find(pictures, "time.png")) {
        hud.drawCanvas(*label, 10, 960 + shift);
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
        drawCentred(hud, pictures, name, pen, 984 + shift);
        previousHalf = half;
    }
    drawCentred(hud, pictures, "personalbest.png", 640, 960 + shift);
    return hud;
}

// Every colour of ball with every expression, and one blink frame by frame.
Canvas sampleFaces(const Pictures& pictures) {
    Canvas faces(8 * 72 + 9 * 72, 80);
    faces.fill(palette::kSky);
    const char* colours[] = {"blue", "cyan", "green", "purple", "red", "yellow"};
    const char* mouths[] = {"mouth1.png", "mouth2.png", "mouth3.png",    "mouth4.png",
                            "mouth5.png", "mouth6.png", "mouthgrin.png", "mouth1.png"};
    for (int i = 0; i < 8; ++i) {
        const float x = 36 + i * 72.0f;
        drawCentred(faces, pictures, std::string("body") + colours[i % 6] + ".png", x, 40);
        drawCentred(faces, pictures, "eyel1.png", x, 40);
        drawCentred(faces, pictures, "eyer1.png", x, 40);
        drawCentred(faces, pictures, mouths[i], x, 40);
    }
    for (int k = 1; k <= 9; ++k) {
        const float x = 8 * 72 + 36 + (k - 1) * 72.0f;
        drawCentred(faces, pictures, "bodyred.png", x, 40);
        drawCentred(faces, pictures, "eyel" + std::to_string(k) + ".png", x, 40);
        drawCentred(faces, pictures, "eyer" + std::to_string(k) + ".png", x, 40);
        drawCentred(faces, pictures, "mouth1.png", x, 40);
    }
    return faces;
}

std::string sectionOf(const std::string& name) {
    auto starts = [&](const char* prefix) { return name.rfind(prefix, 0) == 0; };
    if (starts("swc")) {
        return "Switch shine frames (drawn over any switch)";
    }
    if (starts("body") || starts("eye") || starts("mouth") || starts("player")) {
        return "Ball: body, eyes (open 1 to shut 9) and mouths on one 64 px canvas";
    }
    if (starts("bighead/")) {
        return "Title mascot: parts on one 240 px canvas";
    }
    if (starts("countdown") || starts("time") || starts("personalbest") || starts("finished/") ||
        starts("scorefont/")) {
        return "Play screen texts";
    }
    if (starts("lightsmoke") || starts("star") || starts("3spenalty")) {
        return "Particles";
    }
    if (starts("rvlogo") || starts("3DLogo")) {
        return "Logos";
    }
    return "Tiles (64 x 64)";
}

struct Placed {
    const Canvas* canvas;
    std::string text;
    int x, y;
    bool heading;
};

}  // namespace

Canvas contactSheet(const Pictures& pictures, const Font& font) {
    const std::vector<std::pair<std::string, Canvas>> samples = {
        {"Main menu top (title logo, mascots, clouds)", sampleMenu(pictures)},
        {"A level built from the tiles", sampleLevel(pictures)},
        {"Finish banner and head-up display as placed in the game", sampleHud(pictures)},
        {"Ball colours and expressions; one blink", sampleFaces(pictures)},
    };
    std::vector<Placed> placed;
    int y = kMargin;
    for (const auto& [title, canvas] : samples) {
        placed.push_back({nullptr, title, kMargin, y, true});
        y += kHeadingHeight;
        placed.push_back({&canvas, "", kMargin, y, false});
        y += canvas.height() + kGap;
    }
    // Then every picture, section by section, in the generator's order.
    std::vector<std::string> sections;
    for (const Picture& p : pictures) {
        if (std::find(sections.begin(), sections.end(), sectionOf(p.name)) == sections.end()) {
            sections.push_back(sectionOf(p.name));
        }
    }
    for (const std::string& section : sections) {
        y += kGap;
        placed.push_back({nullptr, section, kMargin, y, true});
        y += kHeadingHeight;
        int x = kMargin, rowHeight = 0;
        for (const Picture& p : pictures) {
            if (sectionOf(p.name) != section) {
                continue;
            }
            const Font::Line label = font.layout(p.name, kLabelSize);
            const int cellWidth = std::max(p.canvas.width(), static_cast<int>(label.advance) + 4);
            if (x + cellWidth > kSheetWidth - kMargin) {
                x = kMargin;
                y += rowHeight + kLabelHeight + kGap;
                rowHeight = 0;
            }
            placed.push_back({&p.canvas, p.name, x, y, false});
            x += cellWidth + kGap;
            rowHeight = std::max(rowHeight, p.canvas.height());
        }
        y += rowHeight + kLabelHeight;
    }
    Canvas sheet(kSheetWidth, y + kMargin);
    sheet.fill(palette::kSky);
    for (const Placed& p : placed) {
        if (p.heading) {
            writeText(sheet, font, p.text, kHeadingSize, p.x, p.y + 6);
            continue;
        }
        sheet.drawCanvas(*p.canvas, p.x, p.y);
        if (!p.text.empty()) {
            writeText(sheet, font, p.text, kLabelSize, p.x, p.y + p.canvas->height() + 2);
        }
    }
    return sheet;
}
