#include "sim/run/GhostTrack.hpp"

#include <box2d/b2_body.h>

#include <algorithm>

#include "sim/level/Level.hpp"

GhostTrack::GhostTrack(RecordedRun run, std::string_view levelBytes)
    : run(std::move(run)), levelBytes(levelBytes) {
    restart();
}

void GhostTrack::restart() {
    simulation = std::make_unique<LevelSimulation>(run.mode, run.turnSpeeds);
    simulation->loadLevelBytes(levelBytes);
    simulation->setStepObserver([this] { frameSteps.push_back(ballPose()); });
    cursor.rewind();
    firstStep = 0;
    frameSteps.assign(1, ballPose());
}

GhostPose GhostTrack::poseAfterStep(long long step) {
    if (step < firstStep) {
        restart();
    }
    while (step >= firstStep + static_cast<long long>(frameSteps.size()) && !ended()) {
        replayNextFrame();
    }
    const long long last = firstStep + static_cast<long long>(frameSteps.size()) - 1;
    return frameSteps[static_cast<std::size_t>(std::min(step, last) - firstStep)];
}

void GhostTrack::replayNextFrame() {
    const GhostPose before = frameSteps.back();
    firstStep = simulation->stepsTaken();
    frameSteps.assign(1, before);
    cursor.playNext(*simulation);
}

GhostPose GhostTrack::ballPose() const {
    const Level* built = simulation->level();
    if (built == nullptr || !built->ball || built->ball->body() == nullptr) {
        return {};
    }
    const b2Body& ball = *built->ball->body();
    return {ball.GetPosition(), ball.GetAngle()};
}
