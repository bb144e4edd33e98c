// The two logos: the title logo above the main menu (between the mascots,
// which are centred at x = 135 and x = 1145 and 240 px wide, so it must stay
// within about 750 x 320 around its centre at (650, 170)), and the 512 x 512
// picture of the start-up screen, which is shown on black and fades in.
#include <cmath>

#include "Face.hpp"
#include "Lettering.hpp"
#include "Palette.hpp"
#include "Pictures.hpp"
#include "Swirl.hpp"

namespace {

constexpr int kTitleWidth = 740;
constexpr int kTitleHeight = 280;
constexpr int kIntroSize = 512;
// "Rolla" warm, "vortex" cool: the rolling ball and the turning world.
constexpr int kWarmLetters = 5;

// The game's name in arched, two-tone letters, centred on `centre`, fitted to
// `width` pixels of ink; `arch` is how far the middle rises, in pixels.
void paintTitleWord(Canvas& canvas, const Font& font, Vec2 centre, float width, float arch,
                    float outline) {
    const std::string name = "Rollavortex";
    const Font::Line probe = font.layout(name, 100);
    const float size = 100 * width / (probe.inkMax.x - probe.inkMin.x);
    const Font::Line line = font.layout(name, size);
    const float cap = font.capHeight(size);
    const float midX = (line.inkMin.x + line.inkMax.x) / 2;
    const float half = (line.inkMax.x - line.inkMin.x) / 2;
    const float top = centre.y - cap / 2;
    const float bottom = centre.y + cap / 2;
    // Place each glyph on a gentle arch, turned to follow it.
    for (size_t i = 0; i < line.glyphs.size(); ++i) {
        const float gx = (line.glyphMin[i].x + line.glyphMax[i].x) / 2;
        const float u = (gx - midX) / half;
        const float lift = arch * (1 - u * u);
        const float tilt = std::atan(2 * arch * u / half);
        const Vec2 move = {centre.x - midX, bottom - lift};
        const Vec2 pivot = {gx + move.x, bottom - lift - cap / 2};
        const Sdf glyph = rotate(translate(line.glyphs[i], move), pivot, tilt);
        const bool warm = i < kWarmLetters;
        const Rgba topColour = warm ? rgb(255, 240, 110) : rgb(150, 246, 255);
        const Rgba bottomColour = warm ? rgb(255, 124, 30) : rgb(40, 120, 240);
        LetterStyle style;
        style.fill = vertical(topColour, top - lift, bottomColour, bottom - lift);
        style.outline = outline;
        style.shadowOffset = outline * 0.9f;
        style.shadowSoftness = outline * 0.6f;
        style.shadowAlpha = 0.45f;
        style.bevel = outline * 0.9f;
        style.shine = 0.35f;
        paintLettering(canvas, glyph, style, top - lift, bottom - lift);
    }
}

Canvas titleLogo(const Font& font) {
    Canvas c(kTitleWidth, kTitleHeight);
    const Vec2 mid = {kTitleWidth / 2.0f, kTitleHeight / 2.0f + 10};
    paintSwirl(c, mid + Vec2{0, -4}, {350, 125}, rgb(255, 255, 255, 80), 3, 0.3f);
    paintTitleWord(c, font, mid + Vec2{0, 22}, 680, 50, 10);
    return c;
}

Canvas introLogo(const Font& font) {
    Canvas c(kIntroSize, kIntroSize);
    const Vec2 mid = {kIntroSize / 2.0f, kIntroSize / 2.0f};
    // Night-blue in the middle, black at the rim: it fades in from a black screen.
    for (int y = 0; y < kIntroSize; ++y) {
        for (int x = 0; x < kIntroSize; ++x) {
            const float r = length(Vec2{x + 0.5f, y + 0.5f} - mid) / (kIntroSize * 0.5f);
            const float t = smoothstep(0.0f, 1.05f, r);
            c.blend(x, y, mix(rgb(44, 70, 150), rgb(0, 0, 0), t), 1);
        }
    }
    const Vec2 ball = {mid.x, 200};
    paintSwirl(c, ball, {215, 150}, rgb(110, 200, 255, 80), 4, 0.0f);
    paintSwirl(c, ball, {170, 115}, rgb(255, 255, 255, 60), 3, 1.1f);
    // The hero: the same face as in the game, big and happy.
    paintSoft(c, ellipse({ball.x + 6, ball.y + 112}, {80, 14}), rgb(0, 0, 20, 150), 10);
    const FaceFrame face = {ball, 104.0f / 30};
    paintHead(c, face, 4, false, true);
    paintEye(c, face, -1, 0);
    paintEye(c, face, 1, 0);
    paintGrin(c, face);
    paintTitleWord(c, font, {mid.x, 410}, 440, 18, 7);
    return c;
}

}  // namespace

void addLogos(Pictures& out, const Font& font) {
    out.push_back({"rvlogo.png", titleLogo(font)});
    out.push_back({"3DLogo512Final.png", introLogo(font)});
}
