#include "game/PlayerFace.hpp"

#include <SFML/Graphics/Sprite.hpp>

#include "app/files/Files.hpp"
#include "app/platform/GameWindow.hpp"
#include "app/platform/Random.hpp"
#include "sim/base/DataFolder.hpp"

namespace {

constexpr const char* bodyFiles[FaceAnimation::colourCount] = {
    "bodyblue.png",   "bodycyan.png", "bodygreen.png",
    "bodypurple.png", "bodyred.png",  "bodyyellow.png",
};

void drawCentred(GameWindow& window, const sf::Texture& texture, sf::Vector2f position,
                 float degrees) {
    if (texture.getSize().x == 0) {
        return;
    }
    sf::Sprite sprite(texture);
    const sf::Vector2u size = texture.getSize();
    sprite.setOrigin(static_cast<float>(size.x / 2), static_cast<float>(size.y / 2));
    sprite.setPosition(position);
    sprite.setRotation(degrees);
    window.draw(sprite);
}

}  // namespace

// Ranges for the wait and frame length drawn after each blink. The first
// waits (constructor) are shorter, so the face blinks soon after it appears;
// the two eyes keep different rhythms so they rarely blink together.
const EyeBlink::Timing FaceAnimation::leftTiming{0.5f, 10.0f, 0.005f, 0.015f};
const EyeBlink::Timing FaceAnimation::rightTiming{1.0f, 15.0f, 0.0075f, 0.02f};

void EyeBlink::update(float frameTime, const Timing& next) {
    if (wait > 0.0f) {
        wait -= frameTime;
        return;
    }
    if (state == waiting) {
        state = closing;
        frameTimer = frameDuration;
    }
    if (state == opening && frameTimer > 0.0f) {
        frameTimer -= frameTime;
        if (frameTimer <= 0.0f) {
            --frame;
            frameTimer = frameDuration;
            if (frame == 0) {
                state = waiting;
                wait = Random::real(next.minWait, next.maxWait);
                frameDuration = Random::real(next.minFrame, next.maxFrame);
            }
        }
    }
    if (state == closing && frameTimer > 0.0f) {
        frameTimer -= frameTime;
        if (frameTimer <= 0.0f) {
            ++frame;
            frameTimer = frameDuration;
            if (frame == frameCount) {
                frame = frameCount - 1;
                state = opening;
            }
        }
    }
}

FaceAnimation::FaceAnimation() {
    left.wait = Random::real(1.0f, 3.0f);
    right.wait = Random::real(0.5f, 4.0f);
    left.frameTimer = left.frameDuration = 0.02f;
    right.frameTimer = right.frameDuration = 0.03f;
}

void PlayerFace::loadImages() {
    const std::string folder = dataPath("images/");
    for (int i = 0; i < FaceAnimation::colourCount; ++i) {
        loadTexture(bodies[static_cast<std::size_t>(i)], folder + bodyFiles[i]);
    }
    for (int i = 0; i < EyeBlink::frameCount; ++i) {
        const std::string number = std::to_string(i + 1);
        loadTexture(leftEyes[static_cast<std::size_t>(i)], folder + "eyel" + number + ".png");
        loadTexture(rightEyes[static_cast<std::size_t>(i)], folder + "eyer" + number + ".png");
    }
    for (int i = 0; i < FaceAnimation::expressionCount; ++i) {
        loadTexture(mouths[static_cast<std::size_t>(i)],
                    folder + "mouth" + std::to_string(i + 1) + ".png");
    }
    loadTexture(grinTexture, folder + "mouthgrin.png");
}

void FaceAnimation::setColour(int index) {
    if (index >= 0 && index < colourCount) {
        colour = index;
    }
}

void FaceAnimation::reactToImpact() {
    if (mouthHold > 0.0f) {
        return;
    }
    mouthIndex = Random::integer(0, expressionCount - 1);
    mouthHold = expressionHold;
}

void FaceAnimation::update(float frameTime) {
    if (mouthHold > 0.0f) {
        mouthHold -= frameTime;
    }
    left.update(frameTime, leftTiming);
    right.update(frameTime, rightTiming);
}

void PlayerFace::draw(GameWindow& window, sf::Vector2f position, float degrees) const {
    const FaceAnimation& face = animation;
    drawCentred(window, bodies[static_cast<std::size_t>(face.getColour())], position, degrees);
    drawCentred(window, leftEyes[static_cast<std::size_t>(face.leftEye().frame)], position,
                degrees);
    drawCentred(window, rightEyes[static_cast<std::size_t>(face.rightEye().frame)], position,
                degrees);
    const sf::Texture& mouth =
        face.grinning() ? grinTexture : mouths[static_cast<std::size_t>(face.expression())];
    drawCentred(window, mouth, position, degrees);
}
