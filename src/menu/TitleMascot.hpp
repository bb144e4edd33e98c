#pragma once

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <array>

#include "menu/MascotEye.hpp"

class GameWindow;

// One of the two big-head mascots in the upper corners of the title screen: a
// body, two eyes that blink on their own random schedules and a mouth. Every
// part is centred on the same point; the pictures carry the features' offsets.
class TitleMascot {
  public:
    static constexpr float centreY = 135.0f;

    TitleMascot() = default;
    // Sprites point into the textures, so a mascot stays where it was built.
    TitleMascot(const TitleMascot&) = delete;
    TitleMascot& operator=(const TitleMascot&) = delete;

    // Loads the pictures and starts both eyes' first waits; missing pictures
    // leave those parts empty.
    void setup(float centreX);
    // Advances both eyes by the frame time (seconds).
    void update(float frameTime);
    // Body, left eye, right eye and mouth.
    void draw(GameWindow& window) const;

    const MascotEye& leftEye() const { return left; }
    const MascotEye& rightEye() const { return right; }

  private:
    static constexpr std::size_t framesPerEye = MascotEye::frameCount;

    sf::Texture bodyTexture;
    sf::Sprite body;
    std::array<sf::Texture, 2 * framesPerEye> eyeTextures;
    std::array<sf::Sprite, framesPerEye> leftFrames;
    std::array<sf::Sprite, framesPerEye> rightFrames;
    sf::Texture mouthTexture;
    sf::Sprite mouth;
    MascotEye left{0.0f, 0.0f, {}};
    MascotEye right{0.0f, 0.0f, {}};
};
