#include "sim/run/GhostTrack.hpp"

#include <box2d/b2_body.h>

#include <algorithm>

#include "sim/level/Level.hpp"

namespace {

// Points let go are erased once this many have gathered at the front.
constexpr std::size_t eraseInBulk = 4096;

}  // namespace

GhostTrack::GhostTrack(RecordedRun run, std::string_view levelBytes)
    : run(std::move(run)), levelBytes(levelBytes) {
    restart();
}

void GhostTrack::restart() {
    simulation = std::make_unique<LevelSimulation>(run.mode, run.turnSpeeds);
    simulation->loadLevelBytes(levelBytes);
    simulation->setStepObserver([this] { keepPoint(); });
    cursor.rewind();
    points.assign(1, GhostPoint{ballPose(), simulation->raceClock()});
    offset = 0;
    firstKept = 0;
}

void GhostTrack::keepPoint() {
    points.push_back(GhostPoint{ballPose(), 0.0f});
}

// The clock moves on after the frame's steps: they get the frame's end.
void GhostTrack::replayNextFrame() {
    const std::size_t frameStart = points.size();
    cursor.playNext(*simulation);
    for (std::size_t i = frameStart; i < points.size(); ++i) {
        points[i].raceClock = simulation->raceClock();
    }
}

std::span<const GhostPoint> GhostTrack::path(long long from, long long until) {
    from = std::max(from, 0LL);
    if (from < firstKept) {
        restart();
    }
    while (until > lastKept() && !ended()) {
        replayNextFrame();
    }
    if (from > lastKept()) {
        return {};
    }
    const auto first = offset + static_cast<std::size_t>(from - firstKept);
    const auto count = static_cast<std::size_t>(std::min(until, lastKept()) - from + 1);
    return std::span<const GhostPoint>(points).subspan(first, count);
}

GhostPose GhostTrack::poseAfterStep(long long step) {
    const std::span<const GhostPoint> at = path(step, step);
    return at.empty() ? points.back().pose : at.front().pose;
}

void GhostTrack::forgetBefore(long long step) {
    // The last point stays: a ghost whose run ended stands there.
    const long long drop = std::min(step, lastKept()) - firstKept;
    if (drop > 0) {
        offset += static_cast<std::size_t>(drop);
        firstKept += drop;
    }
    if (offset >= eraseInBulk && offset * 2 >= points.size()) {
        points.erase(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(offset));
        offset = 0;
    }
}

GhostPose GhostTrack::ballPose() const {
    const Level* built = simulation->level();
    if (built == nullptr || !built->ball || built->ball->body() == nullptr) {
        return {};
    }
    const b2Body& ball = *built->ball->body();
    return {ball.GetPosition(), ball.GetAngle()};
}
