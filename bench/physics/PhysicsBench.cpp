// How fast the physics of each level runs with no window at all: the path of
// tests, recorded runs and the autopilot. One iteration is 10 s of game time
// at 60 frames per second (3500 world steps) after the countdown.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/GameWindow.hpp"
#include "game/LevelSimulation.hpp"
#include "level/LevelCatalogue.hpp"
#include "level/TileImages.hpp"

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
        LevelCatalogue catalogue;
        catalogue.fill(mode);
        for (int i = 0; i < catalogue.size(); ++i) {
            levels.push_back({catalogue.names[static_cast<std::size_t>(i)],
                              catalogue.files[static_cast<std::size_t>(i)], mode});
        }
    }
    // A busy test level with every kind of tile, for comparison.
    levels.push_back({"Showcase (test level)", "tests/scene/game/levels/Showcase.tmx", raceMode});
    return levels;
}

// The world swings left and right at the Shift rate, so the ball never rests.
std::vector<sf::Event> swingKeys(int frame) {
    if (frame % framesPerSwing != 0) {
        return {};
    }
    const bool left = (frame / framesPerSwing) % 2 == 0;
    return {GameWindow::keyEvent(left ? sf::Keyboard::Left : sf::Keyboard::Right, true, true)};
}

void stepLevel(benchmark::State& state, const BenchLevel& level) {
    TileImages noPictures;
    std::int64_t steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LevelSimulation sim(noPictures, level.mode, TurnSpeeds());
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

}  // namespace

int main(int argc, char** argv) {
    for (const BenchLevel& level : shippedLevels()) {
        benchmark::RegisterBenchmark(("steps/" + level.name).c_str(), stepLevel, level)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
