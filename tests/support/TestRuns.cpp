#include "TestRuns.hpp"

#include <regex>

#include "online/FormBody.hpp"
#include "online/HighscoreProtocol.hpp"
#include "sim/run/ScoreText.hpp"

namespace {

// A header's value, "" when the run has no such line.
std::string headerValue(const std::string& run, const std::string& key) {
    std::smatch match;
    std::regex_search(run, match, std::regex("\n" + key + ": ([^\n]*)\n"));
    return match.empty() ? "" : match[1].str();
}

}  // namespace

int recordedMs(const std::string& run) {
    const std::string ms = headerValue(run, "time-ms");
    return ms.empty() ? 0 : std::stoi(ms);
}

int modeOfRun(const std::string& run) {
    return std::stoi(headerValue(run, "mode"));
}

LevelIdentity levelOfRun(const std::string& run) {
    const std::string id = headerValue(run, "level-id");
    return id.empty() ? LevelIdentity::ofFile(headerValue(run, "level-sha256")) : std::stoi(id);
}

std::string runSubmission(const std::string& name, int mode, const LevelIdentity& level,
                          const std::string& run, long long milliseconds) {
    const float seconds = static_cast<float>(milliseconds) / 1000.0f;
    return HighscoreProtocol::submissionBody(name, mode, level, encodeTime(seconds)) +
           "&run=" + escapeFormValue(run);
}

std::string runSubmission(const std::string& name, const std::string& run) {
    return runSubmission(name, modeOfRun(run), levelOfRun(run), run, recordedMs(run));
}

std::string withHeader(const std::string& run, const std::string& key, const std::string& value) {
    return std::regex_replace(run, std::regex("\n" + key + ": [^\n]*\n"),
                              "\n" + key + ": " + value + "\n");
}

std::string withHarmlessReleases(const std::string& run, int releases) {
    // Nothing is held before the first frame, so letting go of Escape there,
    // before the frame's own events, changes nothing.
    std::smatch first;
    if (!std::regex_search(run, first, std::regex("\nframes: \\d+\n(\\d+) (\\S+)([^\n]*)\n"))) {
        return run;
    }
    const long long count = std::stoll(first[1]);
    std::string lines = "1 " + first[2].str();
    for (int i = 0; i < releases; ++i) {
        lines += " -Escape";
    }
    lines += first[3].str() + "\n";
    if (count > 1) {
        lines += std::to_string(count - 1) + " " + first[2].str() + "\n";
    }
    const auto at = static_cast<std::size_t>(first.position(1));
    return run.substr(0, at) + lines +
           run.substr(static_cast<std::size_t>(first.position(0) + first.length(0)));
}

std::string neverFinishingRun(const std::string& run, long long frames) {
    const std::string header = run.substr(0, run.find("\nframes: "));
    // Each frame about a sixtieth of a second: 17 ticks of 1/1024 s.
    return header + "\nframes: " + std::to_string(frames) + "\n" + std::to_string(frames) + " 17\n";
}
