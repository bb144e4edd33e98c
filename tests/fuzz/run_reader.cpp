// Fuzzes what the highscore server does with a stranger's run: the reader with
// the limits of a submitted run, then the verification's replay of whatever
// it accepts, on a real level. Whatever the text, nothing may crash, hang or
// break the physics into a verdict; and the canonical text of every run that
// reads must read back as the same run.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/base/FileBytes.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/play/LevelSimulation.hpp"
#include "sim/run/RunText.hpp"
#include "sim/run/RunVerification.hpp"

namespace {

// A claim costs its replay at most its own time: fuzzing keeps it short.
constexpr float longestClaimSeconds = 12.0f;

std::string labyrinth() {
    const auto bytes = readWholeFile("data/levels/TheLabyrinth.tmx");
    return bytes ? std::string(bytes->data(), bytes->size()) : std::string();
}

bool sameRun(const RecordedRun& a, const RecordedRun& b) {
    return a.levelName == b.levelName && a.levelFile == b.levelFile && a.levelId == b.levelId &&
           a.levelSha256 == b.levelSha256 && a.physicsVersion == b.physicsVersion &&
           a.mode == b.mode && a.finishMilliseconds == b.finishMilliseconds &&
           a.frameTimes == b.frameTimes && a.inputs == b.inputs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string level = labyrinth();
    static const std::string levelHash = sha256Hex(level);
    std::string text(reinterpret_cast<const char*>(data), size);
    RecordedRun run;
    std::string error;
    if (!parseRun(text, run, error, submittedRunLimits())) {
        return 0;
    }
    RecordedRun again;
    if (!parseRun(formatRun(run), again, error, submittedRunLimits()) || !sameRun(run, again)) {
        __builtin_trap();
    }
    // Name the level and physics the replay needs, so the fuzzer reaches it.
    run.levelSha256 = levelHash;
    run.physicsVersion = LevelSimulation::physicsVersion;
    const float seconds = run.finishMilliseconds > 0
                              ? static_cast<float>(run.finishMilliseconds % 12000) / 1000.0f
                              : longestClaimSeconds;
    const RunClaim claim{run.mode, run.levelId, seconds > 0.0f ? seconds : 1.0f};
    const RunVerdict verdict = verifyRun(formatRun(run), claim, level);
    if (verdict.verified && verdict.canonicalRun.empty()) {
        __builtin_trap();
    }
    return 0;
}
