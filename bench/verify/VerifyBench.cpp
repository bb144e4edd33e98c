// How much faster than real time the server verifies a run: one iteration is
// one whole check of a committed run (parse, level hash, level build, replay
// to the finish). Goal: at least 50 times real time on every level, counted
// over the run's game time with the 5 s countdown ("x game time") and over the
// raced time alone ("x race time"); the countdown steps no physics.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include <numeric>

#include "sim/base/DataFolder.hpp"
#include "sim/base/FileBytes.hpp"
#include "sim/level/LevelList.hpp"
#include "sim/play/LevelSimulation.hpp"
#include "sim/run/RunText.hpp"
#include "sim/run/RunVerification.hpp"

namespace {

struct BenchRun {
    std::string name;
    std::string runText;
    std::string levelBytes;
    RunClaim claim;
    double gameSeconds = 0.0;
    double raceSeconds = 0.0;
};

std::string fileText(const std::string& path) {
    const auto bytes = readWholeFile(path);
    return bytes ? std::string(bytes->data(), bytes->size()) : std::string();
}

std::vector<BenchRun> committedRuns() {
    std::vector<BenchRun> runs;
    for (GameMode mode : {raceMode, puzzleMode}) {
        for (const LevelEntry& level : levelsOf(mode)) {
            const std::string file = dataPath(level.file);
            BenchRun bench;
            bench.runText =
                fileText("levels/runs/" + std::filesystem::path(file).stem().string() + ".run");
            bench.levelBytes = fileText(file);
            RecordedRun run;
            std::string error;
            if (!parseRun(bench.runText, run, error)) {
                continue;
            }
            bench.name = run.levelName;
            bench.claim = {run.mode, run.levelId,
                           static_cast<float>(run.finishMilliseconds) / 1000.0f};
            bench.gameSeconds = std::accumulate(run.frameTimes.begin(), run.frameTimes.end(), 0.0);
            bench.raceSeconds = bench.gameSeconds - LevelSimulation::countdownSeconds;
            runs.push_back(std::move(bench));
        }
    }
    return runs;
}

void verify(benchmark::State& state, const BenchRun& run) {
    for (auto _ : state) {
        const RunVerdict verdict = verifyRun(run.runText, run.claim, run.levelBytes);
        if (!verdict.verified) {
            state.SkipWithError(verdict.reason.c_str());
            break;
        }
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["x game time"] =
        benchmark::Counter(iterations * run.gameSeconds, benchmark::Counter::kIsRate);
    state.counters["x race time"] =
        benchmark::Counter(iterations * run.raceSeconds, benchmark::Counter::kIsRate);
}

}  // namespace

int main(int argc, char** argv) {
    for (const BenchRun& run : committedRuns()) {
        benchmark::RegisterBenchmark(("verify/" + run.name).c_str(), verify, run)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
