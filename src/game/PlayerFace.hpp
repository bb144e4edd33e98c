#pragma once

#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Vector2.hpp>

#include <array>

class GameWindow;

// One eye's blinking: it waits, closes frame by frame to the last frame, opens
// back to the first and waits again for a random time. At most one frame step
// per play frame, so a blink takes at least 16 play frames.
struct EyeBlink {
    static constexpr int frameCount = 9;
    enum State { waiting = 0, closing = 1, opening = 2 };

    struct Timing {
        float minWait;
        float maxWait;
        float minFrame;  // seconds per blink frame, drawn anew after each blink
        float maxFrame;
    };

    int frame = 0;
    int state = waiting;
    float wait = 0.0f;           // seconds until the next blink
    float frameTimer = 0.0f;     // seconds left on the current frame
    float frameDuration = 0.0f;  // seconds per frame of the current blink

    void update(float frameTime, const Timing& next);
};

// The living part of the ball's face, apart from its pictures: the blinking
// eyes, the expression after hard knocks, the grin after a finish and the
// body colour. It needs no screen, so its timing can be checked anywhere.
class FaceAnimation {
  public:
    static constexpr int colourCount = 6;
    static constexpr int expressionCount = 6;
    // A new expression is held at least this long (seconds).
    static constexpr float expressionHold = 2.0f;
    static const EyeBlink::Timing leftTiming;
    static const EyeBlink::Timing rightTiming;

    // Draws the first waits from the program's random generator.
    FaceAnimation();

    void setColour(int index);
    int getColour() const { return colour; }
    void setGrin(bool on) { grin = on; }
    bool grinning() const { return grin; }
    // A random new expression, unless the last one is still held.
    void reactToImpact();
    // Blinking and the expression hold, by the frame time.
    void update(float frameTime);

    const EyeBlink& leftEye() const { return left; }
    const EyeBlink& rightEye() const { return right; }
    int expression() const { return mouthIndex; }
    float holdLeft() const { return mouthHold; }

  private:
    int mouthIndex = 0;
    EyeBlink left;
    EyeBlink right;
    float mouthHold = 0.0f;
    bool grin = false;
    int colour = 4;  // red, as every level starts
};

// The ball as the player sees it: a body picture in the ball's colour with
// two eyes and a mouth on top, all turned with the ball's body.
class PlayerFace {
  public:
    // The data folder's "images/body<colour>.png", "eyel1..9.png", "eyer1..9.png",
    // "mouth1..6.png", "mouthgrin.png"; missing ones draw nothing.
    void loadImages();
    // Body, eyes, then grin or expression, centred at `position` (world
    // pixels) and turned by `degrees`.
    void draw(GameWindow& window, sf::Vector2f position, float degrees) const;

    FaceAnimation animation;

  private:
    std::array<sf::Texture, FaceAnimation::colourCount> bodies;
    std::array<sf::Texture, EyeBlink::frameCount> leftEyes;
    std::array<sf::Texture, EyeBlink::frameCount> rightEyes;
    std::array<sf::Texture, FaceAnimation::expressionCount> mouths;
    sf::Texture grinTexture;
};
