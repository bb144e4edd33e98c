// Fuzzes the level file reader and everything a level file reaches: any bytes
// are either refused with a reason or read to a map of known tiles within the
// bounds; a read map is built into a world and stepped a few times with the
// contact rules running, the destroy queue and the teardown. No window, no
// sound. Seeds: tests/fuzz/corpus/tilemap (a small map in each encoding).
#include <box2d/b2_math.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sim/level/Level.hpp"
#include "sim/level/PlayState.hpp"
#include "sim/level/TileGids.hpp"
#include "sim/level/TmxReader.hpp"

namespace {

constexpr int stepsPerInput = 24;
constexpr float gravity = 86.49f;

bool isPlayableMap(const TileMap& map) {
    const auto within = [](int cells) { return cells >= 1 && cells <= TmxLimits::maxCells; };
    if (!within(map.width) || !within(map.height) ||
        map.tiles.size() != static_cast<std::size_t>(map.width) * map.height) {
        return false;
    }
    for (const std::int32_t id : map.tiles) {
        if (!isLevelTileId(id)) {
            return false;
        }
    }
    return true;
}

void playBriefly(const TileMap& map, bool jump) {
    PlayState play;
    play.jumpRequested = jump;
    auto level = buildLevel(map, play);
    if (!level->ball || play.playerBody != level->ball->body()) {
        std::abort();
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
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TmxRead read = readTmx(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read.level) {
        if (read.refusal.reason.empty()) {
            std::abort();
        }
        return 0;
    }
    if (!isPlayableMap(read.level->map)) {
        std::abort();
    }
    playBriefly(read.level->map, size % 2 == 1);
    return 0;
}
