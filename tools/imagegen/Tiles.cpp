// The 64 x 64 tile pictures. Each shape covers exactly the area of its physics
// body (squares fill the cell, slopes their half, diamonds touch the cell
// edges, round targets and loose balls have radius 31, the penalty 30), so
// what the player sees is what the ball hits.
#include "Paint.hpp"
#include "Palette.hpp"
#include "Pictures.hpp"
#include "Symbols.hpp"

namespace {

constexpr int kTile = 64;
constexpr Vec2 kMid = {32, 32};
constexpr float kHalf = 32;
constexpr float kRoundRadius = 31;  // colour targets and loose balls
constexpr float kPenaltyRadius = 30;

Look stoneLook() {
    Look look;
    look.fill = vertical(palette::kStoneLight, 0, palette::kStoneDark, kTile);
    look.outline = palette::kOutline;
    look.outlineWidth = 2.0f;
    look.bevelWidth = 7.0f;
    look.bevelStrength = 0.5f;
    return look;
}

Canvas wall() {
    Canvas c(kTile, kTile);
    const Sdf block = box(kMid, {kHalf, kHalf}, 4);
    paintShape(c, block, stoneLook());
    // A faint inset panel gives the block a cut-stone face.
    paintSoft(c, box(kMid, {18, 18}, 5), withAlpha(palette::kStoneDark, 0.3f), 2.0f);
    paintGloss(c, box(kMid, {18, 18}, 5), box(kMid + Vec2{-4, -4}, {14, 14}, 5), 0.12f, 3.0f);
    return c;
}

// Slope with its right angle at corner (cx, cy), each 0 or 1 for left/right, top/bottom.
Canvas slope(int cornerX, int cornerY) {
    Canvas c(kTile, kTile);
    const Vec2 corner = {cornerX * 64.0f, cornerY * 64.0f};
    const Vec2 alongX = {(1 - cornerX) * 64.0f, cornerY * 64.0f};
    const Vec2 alongY = {cornerX * 64.0f, (1 - cornerY) * 64.0f};
    const Sdf tri = polygon({corner, alongX, alongY});
    paintShape(c, tri, stoneLook());
    return c;
}

Canvas finish() {
    Canvas c(kTile, kTile);
    Look look;
    look.fill = [](Vec2 p) {
        const int cx = static_cast<int>((p.x - 4) / 14);
        const int cy = static_cast<int>((p.y - 4) / 14);
        const bool dark = p.x >= 4 && p.y >= 4 && (cx + cy) % 2 == 1;
        return dark ? rgb(44, 40, 64) : rgb(250, 250, 255);
    };
    look.outline = palette::kOutline;
    look.outlineWidth = 2.0f;
    look.bevelWidth = 5.0f;
    look.bevelStrength = 0.4f;
    const Sdf block = box(kMid, {kHalf, kHalf}, 4);
    // A golden frame around the chequered flag marks the goal at a glance.
    Look frame = look;
    frame.fill = vertical(rgb(255, 224, 96), 0, rgb(236, 156, 20), kTile);
    paintShape(c, block, frame);
    Look flag = look;
    flag.outlineWidth = 1.5f;
    paintShape(c, box(kMid, {25, 25}, 2), flag);
    paintGloss(c, box(kMid, {25, 25}, 2), ellipse(kMid + Vec2{-10, -14}, {16, 7}), 0.25f, 3);
    return c;
}

Canvas destroyable() {
    Canvas c(kTile, kTile);
    Look wood;
    wood.fill = vertical(palette::kWoodLight, 0, palette::kWoodDark, kTile);
    wood.outline = palette::kOutline;
    wood.outlineWidth = 2.0f;
    wood.bevelWidth = 5.0f;
    wood.bevelStrength = 0.45f;
    paintShape(c, box(kMid, {kHalf, kHalf}, 3), wood);
    // Inner boards, darker and lined, behind the brace.
    Look boards = wood;
    boards.fill = [](Vec2 p) {
        Rgba base = mix(rgb(196, 118, 52), rgb(140, 76, 32), clamp01(p.y / 64));
        const float seam = std::abs(std::fmod(p.y - 10, 11.0f) - 5.5f);
        return shade(base, seam > 4.8f ? -0.35f : 0.0f);
    };
    boards.outlineWidth = 1.5f;
    boards.bevelWidth = 3.0f;
    paintShape(c, box(kMid, {22, 22}, 1.5f), boards);
    // Diagonal brace from lower left to upper right.
    const Sdf brace = intersect(capsule({12, 52}, {52, 12}, 6.5f), box(kMid, {23, 23}));
    paintShape(c, brace, wood);
    for (Vec2 nail : {Vec2{6.5f, 6.5f}, Vec2{57.5f, 6.5f}, Vec2{6.5f, 57.5f}, Vec2{57.5f, 57.5f}}) {
        paintFlat(c, circle(nail, 2.2f), rgb(70, 44, 30));
        paintFlat(c, circle(nail + Vec2{-0.6f, -0.6f}, 0.9f), rgb(236, 200, 150));
    }
    return c;
}

Look steelLook(float top, float bottom) {
    Look look;
    look.fill = vertical(palette::kSteelLight, top, palette::kSteelDark, bottom);
    look.outline = palette::kOutline;
    look.outlineWidth = 2.0f;
    look.bevelWidth = 6.0f;
    look.bevelStrength = 0.5f;
    return look;
}

Canvas dynamicDiamond() {
    Canvas c(kTile, kTile);
    const Sdf outer = regular(kMid, kHalf, 4);
    paintShape(c, outer, steelLook(0, kTile));
    // A raised inner facet makes the loose diamond look like a heavy stud.
    Look facet = steelLook(10, 54);
    facet.outlineWidth = 1.2f;
    facet.outline = withAlpha(palette::kOutline, 0.55f);
    facet.bevelStrength = 0.6f;
    paintShape(c, regular(kMid, 17, 4), facet);
    paintGloss(c, regular(kMid, 17, 4), ellipse({26, 24}, {7, 3.5f}), 0.5f, 2);
    return c;
}

Canvas dynamicCircle() {
    Canvas c(kTile, kTile);
    Look look = steelLook(0, kTile);
    look.fill = sphere(kMid, kRoundRadius, rgb(196, 202, 220));
    const Sdf ball = circle(kMid, kRoundRadius);
    paintShape(c, ball, look);
    // A groove like a ball bearing's seam.
    paintFlat(c, intersect(arc(kMid, 22, 0.15f * kPi, 0.85f * kPi, 0.8f), ball),
              withAlpha(palette::kOutline, 0.35f));
    paintGloss(c, ball, ellipse({22, 19}, {10, 6}), 0.6f, 2.5f);
    return c;
}

Canvas colourRound(int colour) {
    Canvas c(kTile, kTile);
    Look look;
    look.fill = sphere(kMid, kRoundRadius, palette::kColours[colour]);
    look.outline = palette::kOutline;
    look.outlineWidth = 2.2f;
    look.bevelWidth = 5.0f;
    look.bevelStrength = 0.3f;
    const Sdf ball = circle(kMid, kRoundRadius);
    paintShape(c, ball, look);
    // A pale inner ring sets the symbol apart from the glossy shell.
    paintFlat(c, subtract(circle(kMid, 20), circle(kMid, 18)), withAlpha(palette::kWhite, 0.35f));
    paintColourSymbol(c, colour, kMid, 12.5f, 1.8f);
    paintGloss(c, ball, ellipse({21, 15}, {11, 5.5f}), 0.55f, 2.5f);
    return c;
}

Canvas switchTile(int colour) {
    Canvas c(kTile, kTile);
    const Sdf outer = regular(kMid, kHalf, 4);
    Look look;
    const Rgba base = palette::kColours[colour];
    look.fill = vertical(shade(base, 0.25f), 0, shade(base, -0.25f), kTile);
    look.outline = palette::kOutline;
    look.outlineWidth = 2.2f;
    look.bevelWidth = 6.0f;
    look.bevelStrength = 0.55f;
    paintShape(c, outer, look);
    // The inner face is lighter: switches glow, targets are solid.
    Look inner = look;
    inner.fill = vertical(shade(base, 0.45f), 14, shade(base, 0.05f), 50);
    inner.outline = withAlpha(palette::kOutline, 0.45f);
    inner.outlineWidth = 1.2f;
    inner.bevelStrength = 0.35f;
    paintShape(c, regular(kMid, 23, 4), inner);
    paintColourSymbol(c, colour, kMid, 12.0f, 1.6f);
    paintGloss(c, outer, ellipse({22, 20}, {9, 4}), 0.45f, 2.0f);
    return c;
}

Canvas penalty() {
    Canvas c(kTile, kTile);
    const Sdf ball = circle(kMid, kPenaltyRadius);
    Look shell;
    shell.fill = sphere(kMid, kPenaltyRadius, rgb(72, 60, 92));
    shell.outline = palette::kOutline;
    shell.outlineWidth = 2.2f;
    shell.bevelWidth = 5.0f;
    shell.bevelStrength = 0.35f;
    paintShape(c, ball, shell);
    // A stopwatch dial with a red three-second wedge: this costs time.
    const Sdf dial = circle(kMid, 21);
    Look face = shell;
    face.fill = vertical(palette::kWhite, 11, rgb(222, 226, 238), 53);
    face.outlineWidth = 1.8f;
    face.bevelStrength = 0.25f;
    paintShape(c, dial, face);
    const float wedgeStart = -kPi / 2;
    const float wedgeEnd = -kPi / 2 + 2 * kPi * 0.25f;
    paintFlat(c,
              intersect(circle(kMid, 17.5f),
                        [=](Vec2 p) {
                            const Vec2 q = p - kMid;
                            const float a = std::atan2(q.y, q.x);
                            return (a >= wedgeStart && a <= wedgeEnd) ? -1.0f : 1.0f;
                        }),
              rgb(240, 60, 48));
    for (int i = 0; i < 12; ++i) {
        const float a = i * kPi / 6;
        const Vec2 dir = {std::cos(a), std::sin(a)};
        paintFlat(c, capsule(kMid + dir * 16.0f, kMid + dir * 18.0f, i % 3 == 0 ? 1.2f : 0.7f),
                  palette::kOutline);
    }
    paintFlat(c, capsule(kMid, kMid + Vec2{0, -14}, 1.6f), palette::kOutline);
    paintFlat(c, capsule(kMid, kMid + Vec2{9, 5}, 1.6f), palette::kOutline);
    paintFlat(c, circle(kMid, 2.6f), rgb(240, 60, 48));
    paintGloss(c, ball, ellipse({22, 14}, {9, 4}), 0.35f, 2.0f);
    return c;
}

}  // namespace

void addTiles(Pictures& out) {
    out.push_back({"wall.png", wall()});
    out.push_back({"wallupperright.png", slope(1, 0)});
    out.push_back({"walllowerright.png", slope(1, 1)});
    out.push_back({"walllowerleft.png", slope(0, 1)});
    out.push_back({"wallupperleft.png", slope(0, 0)});
    out.push_back({"finish.png", finish()});
    out.push_back({"destroyable.png", destroyable()});
    out.push_back({"dynamicdiamond.png", dynamicDiamond()});
    out.push_back({"dynamiccircle.png", dynamicCircle()});
    for (int i = 0; i < 6; ++i) {
        out.push_back(
            {std::string("colorround") + palette::kColourNames[i] + ".png", colourRound(i)});
    }
    for (int i = 0; i < 6; ++i) {
        out.push_back({std::string("switch") + palette::kColourNames[i] + ".png", switchTile(i)});
    }
    out.push_back({"penalty.png", penalty()});
}
