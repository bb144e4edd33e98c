// Fuzzes the level file reader and everything a level file reaches: the
// construction of the world from any cells, a few steps with the contact
// rules running, the destroy queue and the teardown. No window, no sound.
#include <box2d/b2_math.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sim/level/Level.hpp"
#include "sim/level/PlayState.hpp"
#include "sim/level/TileMap.hpp"

namespace {

constexpr int stepsPerInput = 24;
constexpr float gravity = 86.49f;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TileMap map;
    parseTileMap(map, std::string_view(reinterpret_cast<const char*>(data), size));

    PlayState play;
    play.jumpRequested = size % 2 == 1;
    auto level = buildLevel(map, play);
    if (!level->ball || play.playerBody != level->ball->body()) {
        __builtin_trap();
    }
    for (int i = 0; i < stepsPerInput; ++i) {
        // Turn the world a little every step so the ball meets what is around.
        const float angle = static_cast<float>(i) * 0.7f;
        play.gravity = b2Vec2(-gravity * std::sin(angle), -gravity * std::cos(angle));
        level->world->SetGravity(play.gravity);
        stepLevel(*level);
        play.ballColour = play.requestedColour;
        play.jumpCooldown -= 0.01f;
        destroyQueuedEntities(*level, play);
    }
    level.reset();
    return 0;
}
