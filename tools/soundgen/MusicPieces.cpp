#include "Pieces.hpp"

namespace soundgen {

const std::vector<MusicRecipe>& musicPieces() {
    static const std::vector<MusicRecipe> recipes = {
        {"vex.ogg", composeLogoJingle},  {"intro.ogg", composeMenuTheme},
        {"song1.ogg", composeSongOne},   {"song2.ogg", composeSongTwo},
        {"song3.ogg", composeSongThree},
    };
    return recipes;
}

}  // namespace soundgen
