#pragma once

#include <string>
#include <vector>

#include "Arrangement.hpp"
#include "Quality.hpp"

namespace soundgen {

// Every music piece of data/music/, by file name, with the length it may have.
struct MusicRecipe {
    std::string file;
    Piece (*compose)();
    Timing timing;
};
const std::vector<MusicRecipe>& musicPieces();

Piece composeLogoJingle();  // vex.ogg: 4.6 s, one shot
Piece composeMenuTheme();   // intro.ogg: calm, loops
Piece composeSongOne();     // song1.ogg: bright pop, loops
Piece composeSongTwo();     // song2.ogg: latin funk, loops
Piece composeSongThree();   // song3.ogg: driving minor, loops

}  // namespace soundgen
