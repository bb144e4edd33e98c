#pragma once

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <array>
#include <memory>
#include <string>

#include "sim/base/DataFolder.hpp"
#include "sim/level/TileKinds.hpp"

// The 36 pictures shared by every level: tiles, switch animation frames,
// particles and the personal-best badge. Loading the pictures needs no screen;
// turning them into textures needs a graphics context (even an unused
// sf::Texture opens one), so that is a separate step and a table without
// textures is what headless levels use. A picture that failed to load stays
// empty (0 x 0) and has no texture; whatever uses it draws nothing.
class TileImages {
  public:
    static constexpr int count = 36;

    // Indices into the table.
    static constexpr int wall = 0;
    static constexpr int finish = 1;
    static constexpr int breakable = 2;
    static constexpr int player = 3;
    static constexpr int wallUpperRight = 4;
    static constexpr int wallLowerRight = 5;
    static constexpr int wallLowerLeft = 6;
    static constexpr int wallUpperLeft = 7;
    static constexpr int personalBest = 8;
    static constexpr int firstTarget = 9;        // 9..14 by colour index
    static constexpr int firstSwitch = 15;       // 15..20 by colour index
    static constexpr int firstSwitchFrame = 21;  // 21..29: swc1..swc9
    static constexpr int switchFrameCount = 9;
    static constexpr int looseDiamond = 30;
    static constexpr int looseBall = 31;
    static constexpr int star = 32;
    static constexpr int lightSmoke = 33;
    static constexpr int penalty = 34;
    static constexpr int penaltyBurst = 35;

    // File names, relative to the image folder, in index order.
    static const std::array<const char*, count> fileNames;

    // Loads every picture from `folder` (ending in '/'); false when any is
    // missing. Textures made earlier are dropped.
    bool loadImages(const std::string& folder = dataPath("images/"));
    // Uploads every loaded picture as a smoothed texture. Needs a graphics
    // context (an open window, or a display for SFML's hidden one).
    void createTextures();

    // An empty picture for an index outside the table.
    const sf::Image& image(int index) const;
    // Null before createTextures, for an empty picture and outside the table.
    const sf::Texture* texture(int index) const;

    // The picture a tile id shows (the ball start shows the ball's picture);
    // -1 for ids that make nothing.
    static int ofTile(int tileId);

  private:
    std::array<sf::Image, count> images;
    std::array<std::unique_ptr<sf::Texture>, count> textures;
    sf::Image noImage;
};
