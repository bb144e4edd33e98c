// How long a seek of the replay screen takes (RunTimeline), per committed run:
// the whole replay a seek would cost without checkpoints, then seeks back and
// forward by 5 s from every whole second of the run with the checkpoints
// parked (the worker settled before each), and a restart. Goal: a seek
// answers within about 100 ms.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "sim/base/DataFolder.hpp"
#include "sim/base/FileBytes.hpp"
#include "sim/level/LevelList.hpp"
#include "sim/run/RunText.hpp"
#include "sim/run/RunTimeline.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Spread {
    double mean = 0.0;
    double most = 0.0;
};

Spread spreadOf(const std::vector<double>& values) {
    Spread spread;
    for (double value : values) {
        spread.mean += value / static_cast<double>(values.size());
        spread.most = std::max(spread.most, value);
    }
    return spread;
}

// Seeks by `seconds` from every whole second of the run, each with the
// checkpoints the worker wants there parked first.
Spread seeks(RunTimeline& timeline, double seconds) {
    const RunTimes& times = timeline.times();
    std::vector<double> taken;
    for (double at = 0.0; at < times.totalSeconds(); at += 1.0) {
        timeline.seek(times.frameAt(at));
        timeline.settle();
        const std::size_t target = times.frameAt(at + seconds);
        const Clock::time_point start = Clock::now();
        timeline.seek(target);
        taken.push_back(millisecondsSince(start));
    }
    return spreadOf(taken);
}

void measure(const RecordedRun& run, const std::string& levelBytes) {
    double whole = 0.0;
    {
        RunTimeline plain(run, levelBytes, RunTimeline::Checkpoints::none);
        const Clock::time_point start = Clock::now();
        plain.seek(run.frameCount());
        whole = millisecondsSince(start);
    }
    RunTimeline timeline(run, levelBytes);
    const Spread back = seeks(timeline, -5.0);
    const Spread forward = seeks(timeline, 5.0);
    timeline.seek(run.frameCount());
    timeline.settle();
    Clock::time_point start = Clock::now();
    timeline.seek(0);
    const double restart = millisecondsSince(start);
    std::printf("%-16s %6.1f s %8.1f ms %8.1f / %5.1f ms %8.1f / %5.1f ms %8.1f ms\n",
                run.levelName.c_str(), timeline.times().totalSeconds(), whole, back.mean, back.most,
                forward.mean, forward.most, restart);
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("%-16s %8s %11s %19s %19s %11s\n", "level", "length", "whole", "back 5 s mean/max",
                "fwd 5 s mean/max", "restart");
    for (GameMode mode : {raceMode, puzzleMode}) {
        for (const LevelEntry& level : levelsOf(mode)) {
            const std::string file = dataPath(level.file);
            const std::string stem = std::filesystem::path(file).stem().string();
            RecordedRun run;
            std::string error;
            const auto bytes = readWholeFile(file);
            if (!bytes || !readRunFile("levels/runs/" + stem + ".run", run, error)) {
                std::printf("%-16s no run or level: %s\n", stem.c_str(), error.c_str());
                continue;
            }
            measure(run, std::string(bytes->data(), bytes->size()));
        }
    }
    return 0;
}
