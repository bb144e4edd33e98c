#include "menu/MascotEye.hpp"

#include "app/platform/Random.hpp"

namespace {

constexpr float leftFirstWaitMin = 1.0f;
constexpr float leftFirstWaitMax = 3.0f;
constexpr float leftFirstStep = 0.02f;
constexpr MascotEye::Timing leftLater{0.5f, 10.0f, 0.005f, 0.015f};

constexpr float rightFirstWaitMin = 0.5f;
constexpr float rightFirstWaitMax = 4.0f;
constexpr float rightFirstStep = 0.03f;
constexpr MascotEye::Timing rightLater{1.0f, 15.0f, 0.0075f, 0.02f};

}  // namespace

MascotEye::MascotEye(float firstWait, float firstStep, Timing laterTiming)
    : later(laterTiming), wait(firstWait), step(firstStep), stepTimer(firstStep) {}

MascotEye MascotEye::left() {
    return MascotEye(Random::real(leftFirstWaitMin, leftFirstWaitMax), leftFirstStep, leftLater);
}

MascotEye MascotEye::right() {
    return MascotEye(Random::real(rightFirstWaitMin, rightFirstWaitMax), rightFirstStep,
                     rightLater);
}

void MascotEye::update(float frameTime) {
    if (wait > 0.0f) {
        wait -= frameTime;
        return;
    }
    if (currentPhase == waiting) {
        currentPhase = forward;
        stepTimer = step;
    }
    // Backward before forward: the turn at the last frame takes effect next
    // frame, which holds frame 8 for two steps.
    stepBackward(frameTime);
    stepForward(frameTime);
}

void MascotEye::stepBackward(float frameTime) {
    if (currentPhase != backward || stepTimer <= 0.0f) {
        return;
    }
    stepTimer -= frameTime;
    if (stepTimer > 0.0f) {
        return;
    }
    --shownFrame;
    stepTimer = step;
    if (shownFrame <= 0) {
        shownFrame = 0;
        currentPhase = waiting;
        wait = Random::real(later.waitMin, later.waitMax);
        step = Random::real(later.stepMin, later.stepMax);
    }
}

void MascotEye::stepForward(float frameTime) {
    if (currentPhase != forward || stepTimer <= 0.0f) {
        return;
    }
    stepTimer -= frameTime;
    if (stepTimer > 0.0f) {
        return;
    }
    ++shownFrame;
    stepTimer = step;
    if (shownFrame >= frameCount) {
        shownFrame = frameCount - 1;
        currentPhase = backward;
    }
}
