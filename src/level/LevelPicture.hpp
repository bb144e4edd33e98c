#pragma once

#include <SFML/Graphics/Image.hpp>

class TileImages;
struct TileMap;

// The whole level drawn as the game shows it at the start (each tile's picture
// centred on its cell, switches with the first frame of their glow), scaled
// down to fit `width` x `height` over the sky colour and centred. Pixels are
// averaged over a 4 x 4 grid of samples so thin walls do not flicker away.
sf::Image renderLevelPicture(const TileMap& map, const TileImages& images, unsigned width,
                             unsigned height);
