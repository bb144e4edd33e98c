#pragma once

class GameWindow;

// The black fade every screen opens and leaves with, driven by frame time.
// Fading in takes 0.8 s (2.0 falling at 2.5 per second); fading out takes 1 s
// (2.0 falling at 2 per second). A value below 0 means that fade is inactive.
class ScreenFade {
  public:
    static constexpr float start = 2.0f;
    static constexpr float fadeInRate = 2.5f;
    static constexpr float fadeOutRate = 2.0f;

    float fadeIn = start;
    float fadeOut = -1.0f;

    void startFadeOut() { fadeOut = start; }
    void restartFadeIn() { fadeIn = start; }
    bool fadingOut() const { return fadeOut >= 0.0f; }
    // Keys count only while no fade-out runs and the fade-in has fallen below the
    // screen's threshold (1.5 lets keys in 0.2 s after the screen opens).
    bool acceptsInput(float fadeInThreshold) const {
        return fadeOut < 0.0f && fadeIn < fadeInThreshold;
    }

    // Moves both fades on by the frame time; true in the frame in which the
    // fade-out ends. A screen calls it once per update.
    bool advance(float frameTime);
    // Covers the frame in the black of both fades as they stand.
    void draw(GameWindow& window) const;

    // Alpha of the black cover for the current values (0 when inactive).
    static int fadeInAlpha(float fadeIn);
    static int fadeOutAlpha(float fadeOut);
};

// Draws the whole logical screen in black with the given alpha (0..255).
void drawBlackCover(GameWindow& window, int alpha);
