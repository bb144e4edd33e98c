#include "Quality.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Dsp.hpp"

namespace soundgen {

namespace {

// Headroom so that nothing clips when the mixer adds channels.
constexpr double peakLimitDb = -1.0;
// Largest sample of the first and of the last frame: more is an audible click.
// Vorbis leaves a little ripple at the edges of the music.
constexpr double effectEdgeLimit = 0.002;
constexpr double musicEdgeLimit = 0.01;
// Quieter than this is lost under the music.
constexpr double audibleDb = -40.0;
// Music loud enough to carry, quiet enough to leave room for the effects.
constexpr double musicLowestRmsDb = -24.0;
constexpr double musicHighestRmsDb = -12.0;
// Around a loop's seam, in windows of 20 ms over half a second either side.
constexpr double seamWindowSeconds = 0.02;
constexpr double seamSideSeconds = 0.5;
constexpr double seamSilenceDb = -45.0;
constexpr double seamJumpDb = 8.0;
// Two samples meeting at the seam may differ by this much (600 in 16 bits).
constexpr double seamStep = 600.0 / 32768.0;

double frameLevel(const StereoBuffer& sound, std::size_t frame) {
    return std::max(std::fabs(sound.left[frame]), std::fabs(sound.right[frame]));
}

// RMS of frames [from, to) of both channels; the frame index wraps, so a
// window may run across the end of a loop into its start.
double rmsOf(const StereoBuffer& sound, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) {
        const std::size_t at = i % sound.frames();
        sum += static_cast<double>(sound.left[at]) * sound.left[at] +
               static_cast<double>(sound.right[at]) * sound.right[at];
    }
    return to > from ? std::sqrt(sum / (2.0 * static_cast<double>(to - from))) : 0.0;
}

std::string text(const char* format, double value) {
    char line[160];
    std::snprintf(line, sizeof line, format, value);
    return line;
}

// Length, peak, level and edges: the rules every sound shares.
std::vector<std::string> checkCommon(const StereoBuffer& sound, const Timing& timing,
                                     double edgeLimit) {
    std::vector<std::string> problems;
    const double seconds = framesToSeconds(sound.frames());
    if (seconds < timing.minSeconds || seconds > timing.maxSeconds) {
        problems.push_back(text("lasts %.2f s", seconds));
    }
    if (sound.frames() == 0) {
        return problems;
    }
    if (gainToDb(sound.peak()) >= peakLimitDb) {
        problems.push_back(text("peaks at %.2f dBFS and clips in the mix", gainToDb(sound.peak())));
    }
    if (gainToDb(sound.rms()) < audibleDb) {
        problems.push_back(text("is too quiet at %.1f dBFS", gainToDb(sound.rms())));
    }
    if (frameLevel(sound, 0) > edgeLimit || frameLevel(sound, sound.frames() - 1) > edgeLimit) {
        problems.push_back("does not start and end at silence: it clicks");
    }
    return problems;
}

void checkSeam(const StereoBuffer& music, std::vector<std::string>& problems) {
    const std::size_t frames = music.frames();
    const std::size_t window = secondsToFrames(seamWindowSeconds);
    const std::size_t side = secondsToFrames(seamSideSeconds);
    // The music's own quietest moment away from the seam is the yardstick:
    // rests between notes are music, a hole at the seam is not.
    double quietestElsewhere = 1.0;
    for (std::size_t from = side; from + window <= frames - side; from += window) {
        quietestElsewhere = std::min(quietestElsewhere, rmsOf(music, from, from + window));
    }
    double quietestAtSeam = 1.0;
    for (std::size_t from = frames - side; from + window <= frames + side; from += window) {
        quietestAtSeam = std::min(quietestAtSeam, rmsOf(music, from, from + window));
    }
    if (gainToDb(quietestAtSeam) < seamSilenceDb || quietestAtSeam < quietestElsewhere * 0.5) {
        problems.push_back(text("drops to %.1f dBFS at the loop's seam", gainToDb(quietestAtSeam)));
    }
    const double before = rmsOf(music, frames - side, frames - window);
    const double after = rmsOf(music, window, side);
    if (std::fabs(gainToDb(before) - gainToDb(after)) > seamJumpDb) {
        problems.push_back(
            text("jumps by %.1f dB at the loop's seam", gainToDb(before) - gainToDb(after)));
    }
    if (std::fabs(music.left[frames - 1] - music.left[0]) > seamStep ||
        std::fabs(music.right[frames - 1] - music.right[0]) > seamStep) {
        problems.push_back("steps between its last and first sample: the loop clicks");
    }
}

}  // namespace

std::vector<std::string> checkEffect(const StereoBuffer& sound, const Timing& timing) {
    std::vector<std::string> problems = checkCommon(sound, timing, effectEdgeLimit);
    if (sound.frames() == 0) {
        return problems;
    }
    std::size_t loudest = 0;
    for (std::size_t i = 0; i < sound.frames(); ++i) {
        if (frameLevel(sound, i) > frameLevel(sound, loudest)) {
            loudest = i;
        }
    }
    if (framesToSeconds(loudest) > timing.loudestWithin) {
        problems.push_back(text("is loudest only after %.2f s", framesToSeconds(loudest)));
    }
    // It dies away rather than being cut off: the last 20 ms are far below
    // the loudest moment.
    const std::size_t tail = std::min(sound.frames(), secondsToFrames(0.02));
    if (rmsOf(sound, sound.frames() - tail, sound.frames()) > sound.peak() * 0.05) {
        problems.push_back("is cut off instead of dying away");
    }
    return problems;
}

std::vector<std::string> checkMusic(const StereoBuffer& music, const Piece& piece,
                                    const Timing& timing) {
    std::vector<std::string> problems = checkCommon(music, timing, musicEdgeLimit);
    const double rmsDb = gainToDb(music.rms());
    if (rmsDb < musicLowestRmsDb || rmsDb > musicHighestRmsDb) {
        problems.push_back(text("plays at %.1f dBFS, out of the music's range", rmsDb));
    }
    const std::size_t side = secondsToFrames(seamSideSeconds);
    if (music.frames() < 4 * side) {
        return problems;
    }
    if (!piece.loops) {
        // Heard at once, and ringing out at the end instead of stopping mid-note.
        if (gainToDb(rmsOf(music, 0, side)) < audibleDb) {
            problems.push_back("is not heard in its first half second");
        }
        const std::size_t last = secondsToFrames(0.1);
        if (rmsOf(music, music.frames() - last, music.frames()) > music.rms() * 0.2) {
            problems.push_back("stops instead of ringing out");
        }
        return problems;
    }
    if (music.frames() != piece.loopFrames()) {
        problems.push_back("does not end on a bar line, so the beat stumbles at the seam");
    }
    checkSeam(music, problems);
    return problems;
}

}  // namespace soundgen
