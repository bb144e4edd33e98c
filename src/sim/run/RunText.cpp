#include "sim/run/RunText.hpp"

#include <sstream>

#include "sim/base/FileBytes.hpp"
#include "sim/base/FileReplace.hpp"
#include "sim/play/FrameTicks.hpp"
#include "sim/run/RunWords.hpp"

namespace {

bool allWholeTicks(const RecordedRun& run) {
    int ticks = 0;
    for (float frameTime : run.frameTimes) {
        if (!FrameTicks::of(frameTime, ticks)) {
            return false;
        }
    }
    return true;
}

void writeHeader(std::ostringstream& out, const RecordedRun& run, int version) {
    out << RunWords::magicPrefix << version << '\n';
    out << "level: " << run.levelName << '\n';
    out << "file: " << run.levelFile << '\n';
    if (run.levelId > 0) {
        out << "level-id: " << run.levelId << '\n';
    }
    if (!run.levelSha256.empty()) {
        out << "level-sha256: " << run.levelSha256 << '\n';
    }
    if (run.physicsVersion > 0) {
        out << "physics: " << run.physicsVersion << '\n';
    }
    out << "mode: " << run.mode << '\n';
    const TurnSpeeds& speeds = run.turnSpeeds;
    out << "turn-speeds: " << RunWords::floatText(speeds.turn) << ' '
        << RunWords::floatText(speeds.shift) << ' ' << RunWords::floatText(speeds.control) << '\n';
    out << "inverted-controls: " << (speeds.inverted ? 1 : 0) << '\n';
    out << "time-ms: " << run.finishMilliseconds << '\n';
    out << "frames: " << run.frameCount() << '\n';
}

std::string frameTimeText(float frameTime, bool inTicks) {
    int ticks = 0;
    if (inTicks && FrameTicks::of(frameTime, ticks)) {
        return std::to_string(ticks);
    }
    return RunWords::floatText(frameTime);
}

}  // namespace

std::string formatRun(const RecordedRun& run) {
    const bool inTicks = allWholeTicks(run);
    std::ostringstream out;
    writeHeader(out, run, inTicks ? RunWords::tickVersion : RunWords::secondsVersion);
    const std::vector<float>& times = run.frameTimes;
    const std::vector<RecordedInput>& inputs = run.inputs;
    std::size_t input = 0;
    std::size_t i = 0;
    while (i < times.size()) {
        std::size_t later = input;  // the first input of a later frame
        while (later < inputs.size() && inputs[later].frame == i) {
            ++later;
        }
        // Frames without inputs that follow with the same time join this line.
        std::size_t next = i + 1;
        while (next < times.size() && times[next] == times[i] &&
               (later == inputs.size() || inputs[later].frame != next)) {
            ++next;
        }
        out << (next - i) << ' ' << frameTimeText(times[i], inTicks);
        for (; input < later; ++input) {
            out << ' ' << RunWords::inputText(inputs[input].input);
        }
        out << '\n';
        i = next;
    }
    return out.str();
}

bool readRunFile(const std::string& path, RecordedRun& run, std::string& error) {
    const auto bytes = readWholeFile(path);
    if (!bytes) {
        error = "cannot read " + path;
        return false;
    }
    return parseRun(std::string_view(bytes->data(), bytes->size()), run, error);
}

bool writeRunFile(const std::string& path, const RecordedRun& run) {
    return replaceFileContents(path, formatRun(run));
}
