#include "sim/run/GhostGap.hpp"

#include <box2d/b2_body.h>

#include <cmath>
#include <span>

#include "sim/level/Level.hpp"
#include "sim/run/GhostTrack.hpp"

namespace {

b2Vec2 ballPosition(const LevelSimulation& player) {
    const Level* level = player.level();
    if (level == nullptr || !level->ball || level->ball->body() == nullptr) {
        return b2Vec2(0.0f, 0.0f);
    }
    return level->ball->body()->GetPosition();
}

}  // namespace

float GhostGap::update(GhostTrack& ghost, const LevelSimulation& player) {
    if (player.stepsTaken() != playerSteps) {
        playerSteps = player.stepsTaken();
        playerClock = player.raceClock();
    }
    const b2Vec2 ball = ballPosition(player);
    const float raceClock = playerClock;
    float matchedClock = 0.0f;
    for (int reach = 0; reach < mostReaches; ++reach) {
        const std::span<const GhostPoint> ahead = ghost.path(match, match + lookAheadSteps);
        if (ahead.empty()) {
            break;
        }
        std::size_t best = 0;
        float bestDistance = INFINITY;
        float bestClockGap = INFINITY;
        for (std::size_t i = 0; i < ahead.size(); ++i) {
            const float distance = (ahead[i].pose.position - ball).LengthSquared();
            const float clockGap = std::fabs(ahead[i].raceClock - raceClock);
            if (distance < bestDistance || (distance == bestDistance && clockGap < bestClockGap)) {
                best = i;
                bestDistance = distance;
                bestClockGap = clockGap;
            }
        }
        match += static_cast<long long>(best);
        matchedClock = ahead[best].raceClock;
        const bool atReachEnd = best + 1 == ahead.size() && best > 0;
        if (!atReachEnd) {
            break;
        }
    }
    return raceClock - matchedClock;
}

std::optional<float> GhostGap::atFinish(const GhostTrack& ghost, float raceClock) const {
    const long long ghostFinish = ghost.finishMilliseconds();
    if (ghostFinish < 0) {
        return std::nullopt;
    }
    return static_cast<float>(raceMilliseconds(raceClock) - ghostFinish) / 1000.0f;
}
