#include "game/GhostTrack.hpp"

#include <box2d/b2_body.h>

#include <algorithm>

#include "level/Level.hpp"

GhostTrack::GhostTrack(RecordedRun run, std::string_view levelBytes)
    : run(std::move(run)), levelBytes(levelBytes) {
    restart();
}

void GhostTrack::restart() {
    level = std::make_unique<HeadlessLevel>(run.mode, run.turnSpeeds, levelBytes);
    level->simulation().setStepObserver([this] { frameSteps.push_back(ballPose()); });
    nextFrame = 0;
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
    LevelSimulation& simulation = level->simulation();
    const GhostPose before = frameSteps.back();
    firstStep = simulation.stepsTaken();
    frameSteps.assign(1, before);
    const RecordedFrame& frame = run.frames[nextFrame++];
    simulation.advance(frame.frameTime, frame.events);
}

GhostPose GhostTrack::ballPose() const {
    const Level* built = level->simulation().level();
    if (built == nullptr || !built->ball || built->ball->body() == nullptr) {
        return {};
    }
    const b2Body& ball = *built->ball->body();
    return {ball.GetPosition(), ball.GetAngle()};
}
