#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>
#include <vector>

#include "sim/base/PlainText.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/play/FrameTicks.hpp"
#include "sim/run/RunText.hpp"
#include "sim/run/RunWords.hpp"

namespace {

// A time the highscore tables take is below a million seconds.
constexpr long long longestTimeMilliseconds = 1'000'000'000LL;
// More inputs than this in one frame are no player's hands.
constexpr std::size_t maxInputsPerFrame = 256;

// Splits at runs of spaces and tabs.
std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> result;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto start = text.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) {
            break;
        }
        auto end = text.find_first_of(" \t", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        result.push_back(text.substr(start, end - start));
        at = end;
    }
    return result;
}

template <typename Number>
bool readNumber(std::string_view text, Number& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

// std::isfinite also turns away "nan" and "inf", which from_chars reads.
bool readFinite(std::string_view text, float& value) {
    return readNumber(text, value) && std::isfinite(value);
}

bool printable(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            return false;
        }
    }
    return true;
}

// Reads the header fields and the frame lines; every failure names its line.
class RunParser {
  public:
    explicit RunParser(const RunLimits& limits) : limits(limits) {}

    bool parse(std::string_view text, RecordedRun& run, std::string& error) {
        int lineNumber = 0;
        std::size_t at = 0;
        while (at <= text.size()) {
            auto end = text.find('\n', at);
            if (end == std::string_view::npos) {
                end = text.size();
            }
            const std::string_view line = trimmed(text.substr(at, end - at));
            at = end + 1;
            ++lineNumber;
            if (line.empty() || line[0] == '#') {
                continue;
            }
            if (version == 0) {
                if (!readMagic(line)) {
                    return fail(error, lineNumber, "not a recorded run");
                }
                continue;
            }
            if (!parseLine(line)) {
                return fail(error, lineNumber, problem);
            }
        }
        if (version == 0) {
            return fail(error, lineNumber, "not a recorded run");
        }
        if (declaredFrames >= 0 && declaredFrames != static_cast<long long>(result.frameCount())) {
            return fail(error, lineNumber, "the frame lines do not add up to the declared frames");
        }
        run = std::move(result);
        return true;
    }

  private:
    bool fail(std::string& error, int line, const std::string& what) {
        error = "line " + std::to_string(line) + ": " + what;
        return false;
    }

    bool readMagic(std::string_view line) {
        if (!line.starts_with(RunWords::magicPrefix)) {
            return false;
        }
        const std::string_view number = line.substr(RunWords::magicPrefix.size());
        int read = 0;
        if (!readNumber(number, read) || read < RunWords::firstVersion ||
            read > RunWords::tickVersion) {
            return false;
        }
        version = read;
        return true;
    }

    bool parseLine(std::string_view line) {
        const auto colon = line.find(':');
        const auto space = line.find_first_of(" \t");
        if (colon != std::string_view::npos && (space == std::string_view::npos || colon < space)) {
            return parseField(trimmed(line.substr(0, colon)), trimmed(line.substr(colon + 1)));
        }
        return parseFrames(line);
    }

    bool parseField(std::string_view key, std::string_view value) {
        if (key == "level") {
            return readText(value, result.levelName, "level");
        }
        if (key == "file") {
            return readText(value, result.levelFile, "file");
        }
        if (key == "level-id") {
            return readPositive(value, result.levelId, "level-id");
        }
        if (key == "level-sha256") {
            return readSha256(value);
        }
        if (key == "physics") {
            return readPositive(value, result.physicsVersion, "physics");
        }
        if (key == "turn-speeds") {
            return parseTurnSpeeds(value);
        }
        if (key == "inverted-controls") {
            return readInverted(value);
        }
        if (key == "mode") {
            return readMode(value);
        }
        if (key == "time-ms") {
            return readTime(value);
        }
        if (key == "frames") {
            return readDeclaredFrames(value);
        }
        problem = "unknown field " + RunWords::quoted(key);
        return false;
    }

    bool readText(std::string_view value, std::string& text, std::string_view key) {
        if (value.size() > RecordedRun::maxTextLength || !printable(value)) {
            problem = std::string(key) + " must be at most " +
                      std::to_string(RecordedRun::maxTextLength) + " printable characters";
            return false;
        }
        text = std::string(value);
        return true;
    }

    bool readPositive(std::string_view value, int& number, std::string_view key) {
        if (!readNumber(value, number) || number < 1) {
            problem = std::string(key) + " must be a whole number from 1";
            return false;
        }
        return true;
    }

    bool readSha256(std::string_view value) {
        if (!isSha256Hex(value)) {
            problem = "level-sha256 must be 64 lowercase hexadecimal digits";
            return false;
        }
        result.levelSha256 = std::string(value);
        return true;
    }

    bool readInverted(std::string_view value) {
        if (value != "0" && value != "1") {
            problem = "inverted-controls must be 0 or 1";
            return false;
        }
        result.turnSpeeds.inverted = value == "1";
        return true;
    }

    bool readMode(std::string_view value) {
        int number = 0;
        if (!readNumber(value, number) || (number != raceMode && number != puzzleMode)) {
            problem = "mode must be 1 or 2";
            return false;
        }
        result.mode = static_cast<GameMode>(number);
        return true;
    }

    bool readTime(std::string_view value) {
        long long& time = result.finishMilliseconds;
        if (!readNumber(value, time) || time < -1 || time >= longestTimeMilliseconds) {
            problem = "time-ms must be a whole number of milliseconds below " +
                      std::to_string(longestTimeMilliseconds);
            return false;
        }
        return true;
    }

    bool readDeclaredFrames(std::string_view value) {
        if (!readNumber(value, declaredFrames) || declaredFrames < 0 ||
            declaredFrames > limits.maxFrames) {
            problem = "frames must be a count up to " + std::to_string(limits.maxFrames);
            return false;
        }
        return true;
    }

    bool parseTurnSpeeds(std::string_view value) {
        const std::vector<std::string_view> parts = words(value);
        TurnSpeeds& speeds = result.turnSpeeds;
        if (parts.size() != 3 || !readFinite(parts[0], speeds.turn) ||
            !readFinite(parts[1], speeds.shift) || !readFinite(parts[2], speeds.control) ||
            !speeds.withinRange()) {
            problem = "turn-speeds must be three numbers of degrees per second from " +
                      RunWords::floatText(TurnSpeeds::slowest) + " to " +
                      RunWords::floatText(TurnSpeeds::fastest);
            return false;
        }
        return true;
    }

    bool acceptableFrameTime(float frameTime) const {
        return frameTime <= limits.maxFrameTime &&
               (limits.zeroFrameTimes ? frameTime >= 0.0f : frameTime > 0.0f);
    }

    std::string frameTimeProblem() const {
        if (version >= RunWords::tickVersion) {
            int most = 0;
            FrameTicks::of(
                std::min(limits.maxFrameTime, FrameTicks::seconds(FrameTicks::longestFrame)), most);
            return "frame time must be a whole number of ticks from " +
                   std::string(limits.zeroFrameTimes ? "0" : "1") + " to " + std::to_string(most);
        }
        return std::string("frame time must be seconds ") +
               (limits.zeroFrameTimes ? "from 0 to " : "above 0 up to ") +
               RunWords::floatText(limits.maxFrameTime);
    }

    // Seconds in versions 1 and 2, whole ticks from version 3 on.
    bool readFrameTime(std::string_view text, float& frameTime) {
        if (version < RunWords::tickVersion) {
            return readFinite(text, frameTime);
        }
        int ticks = 0;
        if (!readNumber(text, ticks) || ticks < 0 || ticks > FrameTicks::longestFrame) {
            return false;
        }
        frameTime = FrameTicks::seconds(ticks);
        return true;
    }

    bool parseFrames(std::string_view line) {
        const std::vector<std::string_view> parts = words(line);
        long long count = 0;
        float frameTime = 0.0f;
        if (parts.size() < 2 || !readNumber(parts[0], count) || count < 1) {
            problem = "a frame line starts with a frame count of at least 1";
            return false;
        }
        if (count > limits.maxFrames - static_cast<long long>(result.frameCount())) {
            problem = "more than " + std::to_string(limits.maxFrames) + " frames";
            return false;
        }
        if (!readFrameTime(parts[1], frameTime) || !acceptableFrameTime(frameTime)) {
            problem = frameTimeProblem();
            return false;
        }
        gameSeconds += static_cast<double>(count) * static_cast<double>(frameTime);
        if (gameSeconds > limits.maxGameSeconds) {
            problem = "more than " +
                      RunWords::floatText(static_cast<float>(limits.maxGameSeconds)) +
                      " s of game time";
            return false;
        }
        if (parts.size() - 2 > maxInputsPerFrame) {
            problem = "more than " + std::to_string(maxInputsPerFrame) + " inputs in one frame";
            return false;
        }
        const auto frame = static_cast<std::uint32_t>(result.frameCount());
        for (std::size_t i = 2; i < parts.size(); ++i) {
            PlayInput input;
            if (!RunWords::readInput(parts[i], input)) {
                problem = "unknown input " + RunWords::quoted(parts[i]);
                return false;
            }
            result.inputs.push_back(RecordedInput{frame, input});
        }
        result.frameTimes.insert(result.frameTimes.end(), static_cast<std::size_t>(count),
                                 frameTime);
        return true;
    }

    const RunLimits& limits;
    RecordedRun result;
    int version = 0;
    long long declaredFrames = -1;
    double gameSeconds = 0.0;
    std::string problem;
};

}  // namespace

bool parseRun(std::string_view text, RecordedRun& run, std::string& error,
              const RunLimits& limits) {
    RunParser parser(limits);
    return parser.parse(text, run, error);
}
