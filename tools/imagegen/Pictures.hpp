#pragma once

#include <string>
#include <vector>

#include "Canvas.hpp"

// One generated picture and its path below data/images/.
struct Picture {
    std::string name;
    Canvas canvas;
};

using Pictures = std::vector<Picture>;

class Font;

// Each family of pictures adds its members, in a fixed order.
void addTiles(Pictures& out);
void addSwitchShine(Pictures& out);
void addFace(Pictures& out);
void addMascot(Pictures& out);
void addEffects(Pictures& out, const Font& font);
void addHudTexts(Pictures& out, const Font& font);
void addLogos(Pictures& out, const Font& font);
