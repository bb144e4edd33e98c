#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Texture.hpp>

#include "sim/level/PlayState.hpp"

class ParticleEmitter;
class TileImages;

// True for the events that burst: switches, broken blocks and targets, penalties.
bool makesBurst(const ContactEvent& event);

// Colour of the burst of a contact event: the colour of its switch or target,
// brown for a broken block, white for anything else (penalties).
sf::Color burstColour(const ContactEvent& event);

// Sets up a fresh emitter as the one-off burst of a contact event at its
// position: stars, or for a penalty one floating "3 s" sign.
void configureBurst(ParticleEmitter& emitter, const ContactEvent& event, const TileImages& images);

// Sets up the clouds that drift behind a level of `columns` x `rows` cells:
// many more than behind a menu, spread over the whole level. Sizes beyond
// Level::maxCells count as that, the most a level is built to.
void configureLevelClouds(ParticleEmitter& emitter, int columns, int rows,
                          const sf::Texture* cloudTexture);
