#include "game/RecordedRun.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "app/DataFolder.hpp"
#include "app/Files.hpp"
#include "app/GameWindow.hpp"
#include "app/Sha256.hpp"
#include "app/TurnEvent.hpp"
#include "game/LevelSimulation.hpp"

namespace {

constexpr std::string_view magicLine = "rollavortex-run 2";
// Files from before the level hash, the physics version and the turn speeds.
constexpr std::string_view firstMagicLine = "rollavortex-run 1";
// Starts a pad's turn in a frame line: "~-62.5".
constexpr char turnMark = '~';

struct KeyName {
    sf::Keyboard::Key key;
    std::string_view name;
};

constexpr std::array<KeyName, 12> keyNames{{
    {sf::Keyboard::Left, "Left"},
    {sf::Keyboard::Right, "Right"},
    {sf::Keyboard::Up, "Up"},
    {sf::Keyboard::Down, "Down"},
    {sf::Keyboard::Space, "Space"},
    {sf::Keyboard::Return, "Return"},
    {sf::Keyboard::Escape, "Escape"},
    {sf::Keyboard::LShift, "LShift"},
    {sf::Keyboard::RShift, "RShift"},
    {sf::Keyboard::LControl, "LControl"},
    {sf::Keyboard::RControl, "RControl"},
    {sf::Keyboard::Unknown, "Other"},
}};

std::string_view nameOfKey(sf::Keyboard::Key key) {
    for (const KeyName& entry : keyNames) {
        if (entry.key == key) {
            return entry.name;
        }
    }
    return {};
}

bool keyOfName(std::string_view name, sf::Keyboard::Key& key) {
    for (const KeyName& entry : keyNames) {
        if (entry.name == name) {
            key = entry.key;
            return true;
        }
    }
    return false;
}

bool isKeyEvent(const sf::Event& event) {
    return event.type == sf::Event::KeyPressed || event.type == sf::Event::KeyReleased;
}

// The shortest text that reads back as the same float.
std::string floatText(float value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string eventText(const sf::Event& event) {
    std::string text(event.type == sf::Event::KeyPressed ? "+" : "-");
    const std::string_view name = nameOfKey(event.key.code);
    text += name.empty() ? nameOfKey(sf::Keyboard::Unknown) : name;
    if (event.key.shift || event.key.control) {
        text += '/';
        if (event.key.shift) {
            text += 's';
        }
        if (event.key.control) {
            text += 'c';
        }
    }
    return text;
}

bool sameEvent(const sf::Event& a, const sf::Event& b) {
    float percentA = 0.0f;
    float percentB = 0.0f;
    const bool turnA = TurnEvent::read(a, percentA);
    const bool turnB = TurnEvent::read(b, percentB);
    if (turnA || turnB) {
        return turnA && turnB && percentA == percentB;
    }
    return a.type == b.type && a.key.code == b.key.code && a.key.shift == b.key.shift &&
           a.key.control == b.key.control && a.key.alt == b.key.alt && a.key.system == b.key.system;
}

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

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

bool parseEvent(std::string_view word, sf::Event& event) {
    float turn = 0.0f;
    if (word.size() >= 2 && word[0] == turnMark) {
        if (!readNumber(word.substr(1), turn) || !std::isfinite(turn) ||
            TurnEvent::clampPercent(turn) != turn) {
            return false;
        }
        event = TurnEvent::make(turn);
        return true;
    }
    if (word.size() < 2 || (word[0] != '+' && word[0] != '-')) {
        return false;
    }
    const bool pressed = word[0] == '+';
    word.remove_prefix(1);
    std::string_view modifiers;
    if (const auto slash = word.find('/'); slash != std::string_view::npos) {
        modifiers = word.substr(slash + 1);
        word = word.substr(0, slash);
        if (modifiers.empty()) {
            return false;
        }
    }
    sf::Keyboard::Key key = sf::Keyboard::Unknown;
    if (!keyOfName(word, key)) {
        return false;
    }
    bool shift = false;
    bool control = false;
    for (char flag : modifiers) {
        if (flag == 's' && !shift) {
            shift = true;
        } else if (flag == 'c' && !control) {
            control = true;
        } else {
            return false;
        }
    }
    event = GameWindow::keyEvent(key, pressed, shift, control);
    return true;
}

// Reads the header fields and the frame lines; every failure names its line.
class RunParser {
  public:
    explicit RunParser(const RunLimits& limits) : limits(limits) {}

    bool parse(std::string_view text, RecordedRun& run, std::string& error) {
        bool sawMagic = false;
        int lineNumber = 0;
        std::size_t at = 0;
        while (at <= text.size()) {
            auto end = text.find('\n', at);
            if (end == std::string_view::npos) {
                end = text.size();
            }
            const std::string_view line = trim(text.substr(at, end - at));
            at = end + 1;
            ++lineNumber;
            if (line.empty() || line[0] == '#') {
                continue;
            }
            if (!sawMagic) {
                if (line != magicLine && line != firstMagicLine) {
                    return fail(error, lineNumber, "not a recorded run");
                }
                sawMagic = true;
                continue;
            }
            if (!parseLine(line)) {
                return fail(error, lineNumber, problem);
            }
        }
        if (!sawMagic) {
            return fail(error, lineNumber, "not a recorded run");
        }
        if (declaredFrames >= 0 && declaredFrames != static_cast<long long>(result.frames.size())) {
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

    bool parseLine(std::string_view line) {
        const auto colon = line.find(':');
        const auto space = line.find_first_of(" \t");
        if (colon != std::string_view::npos && (space == std::string_view::npos || colon < space)) {
            return parseField(trim(line.substr(0, colon)), trim(line.substr(colon + 1)));
        }
        return parseFrames(line);
    }

    bool parseField(std::string_view key, std::string_view value) {
        if (key == "level") {
            result.levelName = std::string(value);
        } else if (key == "file") {
            result.levelFile = std::string(value);
        } else if (key == "level-id") {
            return readPositive(value, result.levelId, "level-id");
        } else if (key == "level-sha256") {
            if (!isSha256Hex(value)) {
                problem = "level-sha256 must be 64 lowercase hexadecimal digits";
                return false;
            }
            result.levelSha256 = std::string(value);
        } else if (key == "physics") {
            return readPositive(value, result.physicsVersion, "physics");
        } else if (key == "turn-speeds") {
            return parseTurnSpeeds(value);
        } else if (key == "inverted-controls") {
            if (value != "0" && value != "1") {
                problem = "inverted-controls must be 0 or 1";
                return false;
            }
            result.turnSpeeds.inverted = value == "1";
        } else if (key == "mode") {
            int number = 0;
            if (!readNumber(value, number) || (number != raceMode && number != puzzleMode)) {
                problem = "mode must be 1 or 2";
                return false;
            }
            result.mode = static_cast<GameMode>(number);
        } else if (key == "time-ms") {
            if (!readNumber(value, result.finishMilliseconds) || result.finishMilliseconds < -1) {
                problem = "time-ms must be a whole number of milliseconds";
                return false;
            }
        } else if (key == "frames") {
            if (!readNumber(value, declaredFrames) || declaredFrames < 0 ||
                declaredFrames > limits.maxFrames) {
                problem = "frames must be a count up to " + std::to_string(limits.maxFrames);
                return false;
            }
        } else {
            problem = "unknown field '" + std::string(key) + "'";
            return false;
        }
        return true;
    }

    bool readPositive(std::string_view value, int& number, std::string_view key) {
        if (!readNumber(value, number) || number < 1) {
            problem = std::string(key) + " must be a whole number from 1";
            return false;
        }
        return true;
    }

    bool parseTurnSpeeds(std::string_view value) {
        const std::vector<std::string_view> parts = words(value);
        TurnSpeeds& speeds = result.turnSpeeds;
        if (parts.size() != 3 || !readFinite(parts[0], speeds.turn) ||
            !readFinite(parts[1], speeds.shift) || !readFinite(parts[2], speeds.control)) {
            problem = "turn-speeds must be three numbers of degrees per second";
            return false;
        }
        return true;
    }

    // std::isfinite also turns away "nan" and "inf", which from_chars reads.
    static bool readFinite(std::string_view text, float& value) {
        return readNumber(text, value) && std::isfinite(value);
    }

    bool acceptableFrameTime(float frameTime) const {
        return frameTime <= limits.maxFrameTime &&
               (limits.zeroFrameTimes ? frameTime >= 0.0f : frameTime > 0.0f);
    }

    std::string frameTimeProblem() const {
        return std::string("frame time must be seconds ") +
               (limits.zeroFrameTimes ? "from 0 to " : "above 0 up to ") +
               floatText(limits.maxFrameTime);
    }

    bool parseFrames(std::string_view line) {
        const std::vector<std::string_view> parts = words(line);
        long long count = 0;
        float frameTime = 0.0f;
        if (parts.size() < 2 || !readNumber(parts[0], count) || count < 1) {
            problem = "a frame line starts with a frame count of at least 1";
            return false;
        }
        if (count > limits.maxFrames - static_cast<long long>(result.frames.size())) {
            problem = "more than " + std::to_string(limits.maxFrames) + " frames";
            return false;
        }
        if (!readFinite(parts[1], frameTime) || !acceptableFrameTime(frameTime)) {
            problem = frameTimeProblem();
            return false;
        }
        gameSeconds += static_cast<double>(count) * static_cast<double>(frameTime);
        if (gameSeconds > limits.maxGameSeconds) {
            problem = "more than " + floatText(static_cast<float>(limits.maxGameSeconds)) +
                      " s of game time";
            return false;
        }
        RecordedFrame first{frameTime, {}};
        for (std::size_t i = 2; i < parts.size(); ++i) {
            sf::Event event;
            if (!parseEvent(parts[i], event)) {
                problem = "unknown key event '" + std::string(parts[i]) + "'";
                return false;
            }
            first.events.push_back(event);
        }
        result.frames.push_back(std::move(first));
        result.frames.insert(result.frames.end(), static_cast<std::size_t>(count - 1),
                             RecordedFrame{frameTime, {}});
        return true;
    }

    const RunLimits& limits;
    RecordedRun result;
    long long declaredFrames = -1;
    double gameSeconds = 0.0;
    std::string problem;
};

}  // namespace

bool RecordedFrame::operator==(const RecordedFrame& other) const {
    if (frameTime != other.frameTime || events.size() != other.events.size()) {
        return false;
    }
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (!sameEvent(events[i], other.events[i])) {
            return false;
        }
    }
    return true;
}

bool stampLevelFile(RecordedRun& run, const std::string& levelFile, int levelId) {
    // A run names its level by its place in the data folder, so it replays
    // wherever the game or the server finds that folder.
    const auto inData =
        std::filesystem::path(levelFile).lexically_relative(findDataFolder().folder);
    const bool insideData = !inData.empty() && *inData.begin() != "..";
    run.levelFile = insideData ? inData.generic_string() : levelFile;
    run.levelId = levelId;
    run.physicsVersion = LevelSimulation::physicsVersion;
    run.levelSha256.clear();
    // A path as given, else a name inside the data folder, as runs write it.
    auto bytes = readWholeFile(levelFile);
    if (!bytes && std::filesystem::path(levelFile).is_relative()) {
        bytes = readWholeFile(dataPath(levelFile));
    }
    if (!bytes) {
        return false;
    }
    run.levelSha256 = sha256Hex(std::string_view(bytes->data(), bytes->size()));
    return true;
}

long long raceMilliseconds(float seconds) {
    return std::llround(static_cast<double>(seconds) * 1000.0);
}

std::string formatRun(const RecordedRun& run) {
    std::ostringstream out;
    out << magicLine << '\n';
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
    out << "turn-speeds: " << floatText(speeds.turn) << ' ' << floatText(speeds.shift) << ' '
        << floatText(speeds.control) << '\n';
    out << "inverted-controls: " << (speeds.inverted ? 1 : 0) << '\n';
    out << "time-ms: " << run.finishMilliseconds << '\n';
    out << "frames: " << run.frames.size() << '\n';
    std::size_t i = 0;
    while (i < run.frames.size()) {
        const RecordedFrame& frame = run.frames[i];
        // Frames without events that follow with the same time join this line.
        std::size_t next = i + 1;
        while (next < run.frames.size() && run.frames[next].events.empty() &&
               run.frames[next].frameTime == frame.frameTime) {
            ++next;
        }
        out << (next - i) << ' ' << floatText(frame.frameTime);
        for (const sf::Event& event : frame.events) {
            // Only key events and the pad's turn are part of a run.
            float turn = 0.0f;
            if (TurnEvent::read(event, turn)) {
                out << ' ' << turnMark << floatText(turn);
            } else if (isKeyEvent(event)) {
                out << ' ' << eventText(event);
            }
        }
        out << '\n';
        i = next;
    }
    return out.str();
}

bool parseRun(std::string_view text, RecordedRun& run, std::string& error,
              const RunLimits& limits) {
    RunParser parser(limits);
    return parser.parse(text, run, error);
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
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << formatRun(run);
    out.close();
    return static_cast<bool>(out);
}

ReplayResult replayRun(LevelSimulation& simulation, const RecordedRun& run, bool stopAtFinish) {
    ReplayResult result;
    for (const RecordedFrame& frame : run.frames) {
        const FrameReport report = simulation.advance(frame.frameTime, frame.events);
        if (report.finishedNow && result.finishFrame < 0) {
            result.finishFrame = result.framesPlayed;
            result.milliseconds = raceMilliseconds(simulation.raceClock());
        }
        ++result.framesPlayed;
        if (stopAtFinish && result.finishFrame >= 0) {
            break;
        }
    }
    result.raceClock = simulation.raceClock();
    result.colourTargetsLeft = simulation.colourTargetsLeft();
    return result;
}
