// replay-run: replays recorded runs through the simulation and prints where
// each ended, so the same runs can be compared across builds and CPUs (the
// test suite runs it on arm64 under qemu). Links the simulation alone.
//
//   replay-run LEVEL_FILE RUN_FILE [LEVEL_FILE RUN_FILE ...]
//
// One line a run: "<run file> finished-ms <n> frame <i> of <frames> hash <16 hex>"
// ("finished-ms -1" when it never finishes). Exit status 1 when a file cannot
// be read, 2 for a wrong command line.

#include <cinttypes>
#include <cstdio>
#include <string>

#include "sim/base/FileBytes.hpp"
#include "sim/play/LevelSimulation.hpp"
#include "sim/run/RunReplay.hpp"
#include "sim/run/RunText.hpp"

namespace {

bool replayOne(const std::string& levelFile, const std::string& runFile) {
    RecordedRun run;
    std::string error;
    if (!readRunFile(runFile, run, error)) {
        std::fprintf(stderr, "%s: %s\n", runFile.c_str(), error.c_str());
        return false;
    }
    const auto level = readWholeFile(levelFile);
    if (!level) {
        std::fprintf(stderr, "%s: cannot read the level file\n", levelFile.c_str());
        return false;
    }
    LevelSimulation simulation(run.mode, run.turnSpeeds);
    simulation.loadLevelBytes(std::string_view(level->data(), level->size()));
    const ReplayResult result = replayRun(simulation, run);
    std::printf("%s finished-ms %lld frame %d of %zu hash %016" PRIx64 "\n", runFile.c_str(),
                result.milliseconds, result.finishFrame, run.frameCount(), simulation.stateHash());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: replay-run LEVEL_FILE RUN_FILE [LEVEL_FILE RUN_FILE ...]\n");
        return 2;
    }
    bool allRead = true;
    for (int i = 1; i + 1 < argc; i += 2) {
        allRead = replayOne(argv[i], argv[i + 1]) && allRead;
    }
    return allRead ? 0 : 1;
}
