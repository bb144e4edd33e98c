#pragma once

#include <SFML/Graphics/Texture.hpp>

#include <array>

class GameWindow;

// The motion of the finish banner's letters, apart from their pictures: a row
// rippling as a sine wave that falls in from a tall wave and settles, and once
// the player goes on flies apart again and fades out.
class BannerWave {
  public:
    static constexpr float restingAmplitude = 93.0f;  // pixels
    static constexpr float flyingAmplitude = 666.0f;  // pixels
    static constexpr float baseline = 300.0f;         // pixels from the top

    void reset();
    void advance(float frameTime);
    // Top of letter k (0 for the first) at the current phase and amplitude.
    float letterTop(int k) const;
    // Left edge of the first letter, centring `totalWidth` in the view width.
    int firstLeft(int viewWidth, int totalWidth) const;

    bool incoming = true;
    bool fadingOut = false;
    float phase = 0.0f;  // radians
    float amplitude = flyingAmplitude;
    float alpha = 255.0f;
};

// The letters of "finished" drawn with their wave after a finish.
class FinishBanner {
  public:
    static constexpr int letterCount = 8;

    // The data folder's "images/finished/f.png", "i1", "n", "i2", "s", "h", "e", "d".
    void load();
    void reset() { wave.reset(); }
    // Draws the row centred on the logical screen where the wave has it (its
    // owner advances the wave).
    void draw(GameWindow& window) const;

    BannerWave wave;
    int totalWidth = 0;  // pixels, all letters side by side

  private:
    std::array<sf::Texture, letterCount> letters;
};
