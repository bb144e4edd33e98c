#pragma once

#include <string>
#include <vector>

#include "StereoBuffer.hpp"

namespace soundgen {

// Every sound effect of data/sound/, by file name.
struct SoundEffectRecipe {
    std::string file;
    StereoBuffer (*render)();
};
const std::vector<SoundEffectRecipe>& soundEffects();

// Struck and broken things: knock, block, glass, mallet, countdown tick.
StereoBuffer renderPlonk();
StereoBuffer renderCrack();
StereoBuffer renderGlass();
StereoBuffer renderXylophone();
StereoBuffer renderClick();
// Signals: start horn, personal-best fanfare, finish jingle, colour zap.
StereoBuffer renderHorn();
StereoBuffer renderPersonalBest();
StereoBuffer renderFinish();
StereoBuffer renderBeam();

}  // namespace soundgen
