// How fast the physics of each level runs with no window at all: the path of
// tests, recorded runs and the autopilot. One iteration is 10 s of game time
// at 60 frames per second (3500 world steps) after the countdown.

#include <benchmark/benchmark.h>
#include <box2d/b2_distance_joint.h>

#include <algorithm>
#include <cmath>

#include <string>
#include <vector>

#include "sim/base/DataFolder.hpp"
#include "sim/level/Level.hpp"
#include "sim/level/LevelList.hpp"
#include "sim/level/Units.hpp"
#include "sim/play/LevelSimulation.hpp"

namespace {

constexpr float frameTime = 1.0f / 60.0f;
constexpr int framesPerRun = 600;  // 10 s of game time
constexpr int framesPerSwing = 90;

struct BenchLevel {
    std::string name;
    std::string file;
    GameMode mode;
};

std::vector<BenchLevel> shippedLevels() {
    std::vector<BenchLevel> levels;
    for (GameMode mode : {raceMode, puzzleMode}) {
        for (const LevelEntry& level : levelsOf(mode)) {
            levels.push_back({level.name, dataPath(level.file), mode});
        }
    }
    // A busy test level with every kind of tile, for comparison.
    levels.push_back({"Showcase (test level)", "tests/scene/game/levels/Showcase.tmx", raceMode});
    return levels;
}

// The world swings left and right at the Shift rate, so the ball never rests.
std::vector<PlayInput> swingKeys(int frame) {
    if (frame % framesPerSwing != 0) {
        return {};
    }
    const bool left = (frame / framesPerSwing) % 2 == 0;
    return {PlayInput::pressed(left ? PlayKey::left : PlayKey::right, true)};
}

void stepWorlds(benchmark::State& state, const BenchLevel& level) {
    std::int64_t steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LevelSimulation sim(level.mode, TurnSpeeds());
        const bool loaded = sim.loadLevel(level.file);
        sim.advance(LevelSimulation::countdownSeconds);
        state.ResumeTiming();
        if (!loaded) {
            state.SkipWithError("level file missing");
            break;
        }
        for (int frame = 0; frame < framesPerRun; ++frame) {
            steps += sim.advance(frameTime, swingKeys(frame)).worldSteps;
        }
        benchmark::DoNotOptimize(sim.stateHash());
    }
    state.counters["steps/s"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
    state.counters["x realtime"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * framesPerRun * frameTime,
                           benchmark::Counter::kIsRate);
}

// Not a speed: how far the bridge rods stretch (in pixels) over 30 s of the
// same swinging, after the physics of the bridges changed for speed.
void stretchRods(benchmark::State& state, const BenchLevel& level) {
    double largest = 0.0;
    double total = 0.0;
    std::int64_t samples = 0;
    for (auto _ : state) {
        LevelSimulation sim(level.mode, TurnSpeeds());
        sim.loadLevel(level.file);
        sim.advance(LevelSimulation::countdownSeconds);
        for (int frame = 0; frame < 3 * framesPerRun; ++frame) {
            sim.advance(frameTime, swingKeys(frame));
            for (b2Joint* joint : sim.level()->bridgeJoints) {
                const auto* rod = static_cast<const b2DistanceJoint*>(joint);
                const float length = (rod->GetAnchorB() - rod->GetAnchorA()).Length();
                const double stretch = std::fabs(length - rod->GetLength()) * pixelsPerUnit;
                largest = std::max(largest, stretch);
                total += stretch;
                ++samples;
            }
        }
    }
    state.counters["rods"] =
        static_cast<double>(samples) / (state.iterations() * 3.0 * framesPerRun);
    state.counters["mean px"] = samples > 0 ? total / static_cast<double>(samples) : 0.0;
    state.counters["max px"] = largest;
}

}  // namespace

int main(int argc, char** argv) {
    for (const BenchLevel& level : shippedLevels()) {
        benchmark::RegisterBenchmark(("steps/" + level.name).c_str(), stepWorlds, level)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("rods/" + level.name).c_str(), stretchRods, level)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
