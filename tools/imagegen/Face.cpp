#include "Face.hpp"

#include "Paint.hpp"
#include "Palette.hpp"
#include "Pictures.hpp"
#include "Symbols.hpp"

namespace {

constexpr int kBallCanvas = 64;
constexpr float kBallRadius = 30;
constexpr int kMascotCanvas = 240;
constexpr int kBlinkFrames = 9;
constexpr int kExpressions = 6;

const Rgba kEyeWhite = rgb(255, 255, 255);
const Rgba kEyeShadow = rgb(214, 222, 240);
const Rgba kPupil = rgb(30, 26, 48);
const Rgba kLidShadow = rgb(40, 12, 50, 70);
const Rgba kMouthInside = rgb(120, 20, 44);
const Rgba kTongue = rgb(255, 112, 136);
const Rgba kTeeth = rgb(255, 255, 250);

Vec2 at(FaceFrame f, float x, float y) {
    return f.centre + Vec2{x, y} * f.unit;
}

Look faceLook(FaceFrame f, Fill fill) {
    Look look;
    look.fill = std::move(fill);
    look.outline = palette::kOutline;
    look.outlineWidth = 1.7f * f.unit;
    look.bevelWidth = 2.5f * f.unit;
    look.bevelStrength = 0.25f;
    return look;
}

// The upper lid's edge at closure c: a curve arched like a real lid that
// starts above the eye and, shut, lies beyond its lower rim.
float lidY(Vec2 eye, Vec2 radii, float c, float x) {
    const float u = (x - eye.x) / radii.x;
    const float centreY = lerp(eye.y - radii.y * 1.45f, eye.y + radii.y * 1.02f, c);
    const float bend = lerp(radii.y * 0.95f, radii.y * 0.3f, c);
    return centreY + bend * u * u;
}

}  // namespace

float blinkClosure(int frame) {
    // Frame 1 is wide open; from frame 2 on the lid moves in even steps from
    // just above the eye to fully shut at frame 9.
    if (frame <= 0) {
        return 0;
    }
    const float t = static_cast<float>(frame) / (kBlinkFrames - 1);
    return 0.15f + 0.85f * t;
}

void paintHead(Canvas& canvas, FaceFrame f, int colourIndex, bool withSymbol, bool blush) {
    const float r = kBallRadius * f.unit;
    const Sdf head = circle(f.centre, r);
    Look look = faceLook(f, sphere(f.centre, r, palette::kColours[colourIndex]));
    look.outlineWidth = 2.2f * f.unit;
    look.bevelWidth = 4.0f * f.unit;
    look.bevelStrength = 0.3f;
    paintShape(canvas, head, look);
    if (blush) {
        for (float side : {-1.0f, 1.0f}) {
            paintSoft(canvas, ellipse(at(f, side * 17.5f, 9), Vec2{4.5f, 2.6f} * f.unit),
                      rgb(255, 120, 150, 110), 1.5f * f.unit);
        }
    }
    if (withSymbol) {
        // The colour's symbol on the crown, so the ball's colour reads without hue.
        const Sdf mark =
            offset(colourSymbol(colourIndex, at(f, 0, -20.5f), 4.2f * f.unit), 0.9f * f.unit);
        Look look = faceLook(f, flat(palette::kWhite));
        look.outline = withAlpha(palette::kOutline, 0.85f);
        look.outlineWidth = 1.0f * f.unit;
        look.bevelStrength = 0;
        paintShape(canvas, mark, look);
    }
    paintGloss(canvas, head, ellipse(at(f, -12, -16), Vec2{8, 4.5f} * f.unit), 0.5f, 2.0f * f.unit);
}

void paintEye(Canvas& canvas, FaceFrame f, int side, float closed) {
    const Vec2 eye = at(f, side * 9.5f, -5);
    const Vec2 radii = Vec2{6.6f, 8.2f} * f.unit;
    const Sdf ball = ellipse(eye, radii);
    const float stroke = 1.7f * f.unit;
    // The lid: the head's own colour seen through a soft shadow, so one set of
    // eyes fits every body colour.
    paintShape(canvas, ball, faceLook(f, flat(kLidShadow)));
    const Sdf belowLid = [=](Vec2 p) {
        // Vertical gap to the lid, scaled by the lid's slope into a distance.
        const float slope =
            (lidY(eye, radii, closed, p.x + 0.5f) - lidY(eye, radii, closed, p.x - 0.5f));
        return (lidY(eye, radii, closed, p.x) - p.y) / std::sqrt(1 + slope * slope);
    };
    const Sdf open = intersect(ball, belowLid);
    paintShape(canvas, open,
               faceLook(f, vertical(kEyeWhite, eye.y - radii.y, kEyeShadow, eye.y + radii.y)));
    // The pupil looks slightly inward and down: friendly, attentive.
    const Vec2 pupilCentre = eye + Vec2{-side * 1.3f, 1.8f} * f.unit;
    const Sdf inside = offset(open, -stroke);
    paintFlat(canvas, intersect(circle(pupilCentre, 3.9f * f.unit), inside), kPupil);
    paintFlat(canvas,
              intersect(circle(pupilCentre + Vec2{-1.3f, -1.5f} * f.unit, 1.35f * f.unit), inside),
              kEyeWhite);
    if (closed < 0.999f) {
        return;
    }
    // Shut: the lashes' line curves along the lower part of the lid.
    std::vector<Vec2> curve;
    for (int i = 0; i <= 12; ++i) {
        const float u = i / 6.0f - 1;
        curve.push_back(eye + Vec2{u * radii.x * 0.8f, radii.y * (0.55f - 0.3f * u * u)});
    }
    Sdf line = capsule(curve[0], curve[1], stroke * 0.8f);
    for (size_t i = 1; i + 1 < curve.size(); ++i) {
        line = unite(line, capsule(curve[i], curve[i + 1], stroke * 0.8f));
    }
    const Vec2 outer = side < 0 ? curve.front() : curve.back();
    line = unite(line, capsule(outer, outer + Vec2{side * 2.4f, 1.2f} * f.unit, stroke * 0.55f));
    paintFlat(canvas, line, palette::kOutline);
}

void paintMouth(Canvas& canvas, FaceFrame f, int expression) {
    const float stroke = 1.8f * f.unit;
    switch (expression) {
        case 0: {  // content smile
            paintFlat(canvas, arc(at(f, 0, 2), 10 * f.unit, 0.22f * kPi, 0.78f * kPi, stroke),
                      palette::kOutline);
            break;
        }
        case 1: {  // surprised "oh"
            const Sdf o = ellipse(at(f, 0, 13), Vec2{4.6f, 5.8f} * f.unit);
            paintShape(canvas, o, faceLook(f, flat(kMouthInside)));
            paintFlat(canvas,
                      intersect(ellipse(at(f, 0, 16.5f), Vec2{3, 2} * f.unit), offset(o, -stroke)),
                      kTongue);
            break;
        }
        case 2: {  // wobbly, shaken
            std::vector<Vec2> pts;
            for (int i = 0; i <= 16; ++i) {
                const float x = -9.5f + i * 19.0f / 16;
                pts.push_back(at(f, x, 13 + 2.2f * std::sin(x * 0.72f)));
            }
            Sdf line = capsule(pts[0], pts[1], stroke * 0.9f);
            for (size_t i = 1; i + 1 < pts.size(); ++i) {
                line = unite(line, capsule(pts[i], pts[i + 1], stroke * 0.9f));
            }
            paintFlat(canvas, line, palette::kOutline);
            break;
        }
        case 3: {  // gritted teeth
            const Sdf teeth = box(at(f, 0, 13), Vec2{9.5f, 4.4f} * f.unit, 2.2f * f.unit);
            paintShape(canvas, teeth, faceLook(f, flat(kTeeth)));
            Sdf gaps = capsule(at(f, -9, 13), at(f, 9, 13), 0.55f * f.unit);
            for (float x : {-4.8f, 0.0f, 4.8f}) {
                gaps = unite(gaps, capsule(at(f, x, 9), at(f, x, 17), 0.55f * f.unit));
            }
            paintFlat(canvas, intersect(gaps, teeth), palette::kOutline);
            break;
        }
        case 4: {  // worried frown
            paintFlat(canvas, arc(at(f, 0, 21), 8 * f.unit, 1.25f * kPi, 1.75f * kPi, stroke),
                      palette::kOutline);
            break;
        }
        default: {  // cheeky tongue out
            const Sdf tongue = intersect(ellipse(at(f, 4, 15.5f), Vec2{4.2f, 5.5f} * f.unit),
                                         [=](Vec2 p) { return at(f, 0, 11).y - p.y; });
            paintShape(canvas, tongue,
                       faceLook(f, vertical(kTongue, at(f, 0, 11).y, shade(kTongue, -0.2f),
                                            at(f, 0, 21).y)));
            paintFlat(canvas, capsule(at(f, 4, 12.5f), at(f, 4, 17), 0.5f * f.unit),
                      withAlpha(kMouthInside, 0.6f));
            paintFlat(canvas, arc(at(f, 0, 3), 9 * f.unit, 0.25f * kPi, 0.75f * kPi, stroke),
                      palette::kOutline);
            break;
        }
    }
}

void paintGrin(Canvas& canvas, FaceFrame f) {
    // A wide open "D": dark mouth, a row of teeth, a tongue at the bottom.
    const Sdf mouth = intersect(ellipse(at(f, 0, 7), Vec2{13, 13.5f} * f.unit),
                                [=](Vec2 p) { return at(f, 0, 7).y - p.y; });
    paintShape(canvas, mouth, faceLook(f, flat(kMouthInside)));
    const float inner = 1.7f * f.unit;
    paintFlat(canvas,
              intersect(box(at(f, 0, 8.5f), Vec2{13, 2.6f} * f.unit), offset(mouth, -inner)),
              kTeeth);
    paintFlat(canvas,
              intersect(ellipse(at(f, 1.5f, 20.5f), Vec2{7, 4.5f} * f.unit), offset(mouth, -inner)),
              kTongue);
}

void addFace(Pictures& out) {
    const FaceFrame f = {{32, 32}, 1.0f};
    for (int colour = 0; colour < 6; ++colour) {
        Canvas c(kBallCanvas, kBallCanvas);
        paintHead(c, f, colour, true, false);
        out.push_back({std::string("body") + palette::kColourNames[colour] + ".png", c});
    }
    for (int side : {-1, 1}) {
        for (int k = 0; k < kBlinkFrames; ++k) {
            Canvas c(kBallCanvas, kBallCanvas);
            paintEye(c, f, side, blinkClosure(k));
            out.push_back(
                {std::string(side < 0 ? "eyel" : "eyer") + std::to_string(k + 1) + ".png", c});
        }
    }
    for (int m = 0; m < kExpressions; ++m) {
        Canvas c(kBallCanvas, kBallCanvas);
        paintMouth(c, f, m);
        out.push_back({"mouth" + std::to_string(m + 1) + ".png", c});
    }
    Canvas grin(kBallCanvas, kBallCanvas);
    paintGrin(grin, f);
    out.push_back({"mouthgrin.png", grin});
    // The ball's own picture: the red face at rest, as in the level start.
    Canvas player(kBallCanvas, kBallCanvas);
    paintHead(player, f, 4, true, false);
    paintEye(player, f, -1, 0);
    paintEye(player, f, 1, 0);
    paintMouth(player, f, 0);
    out.push_back({"player.png", player});
}

void addMascot(Pictures& out) {
    const FaceFrame f = {{kMascotCanvas / 2.0f, kMascotCanvas / 2.0f},
                         (kMascotCanvas / 2.0f - 6) / kBallRadius};
    Canvas body(kMascotCanvas, kMascotCanvas);
    paintHead(body, f, 4, false, true);
    out.push_back({"bighead/bodyred.png", body});
    for (int side : {-1, 1}) {
        for (int k = 0; k < kBlinkFrames; ++k) {
            Canvas c(kMascotCanvas, kMascotCanvas);
            paintEye(c, f, side, blinkClosure(k));
            out.push_back({std::string(side < 0 ? "bighead/eyel" : "bighead/eyer") +
                               std::to_string(k + 1) + ".png",
                           c});
        }
    }
    Canvas mouth(kMascotCanvas, kMascotCanvas);
    paintGrin(mouth, f);
    out.push_back({"bighead/mouth.png", mouth});
}
