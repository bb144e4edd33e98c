#include "Pieces.hpp"

namespace soundgen {

const std::vector<MusicRecipe>& musicPieces() {
    // The intro lasts as long as the jingle, while its logo fades in over 5 s.
    // Every piece stays decoded in memory, a minute is 10 MiB of samples: the
    // loops last one to two minutes.
    static const std::vector<MusicRecipe> recipes = {
        {"vex.ogg", composeLogoJingle, {4.0, 5.0}},
        {"intro.ogg", composeMenuTheme, {60.0, 120.0}},
        {"song1.ogg", composeSongOne, {60.0, 120.0}},
        {"song2.ogg", composeSongTwo, {60.0, 120.0}},
        {"song3.ogg", composeSongThree, {60.0, 120.0}},
    };
    return recipes;
}

}  // namespace soundgen
