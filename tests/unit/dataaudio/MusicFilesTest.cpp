// The music of data/music/ as the game gets it: whole pieces decoded into
// memory by the mixer. The logo jingle sets the length of the intro; the other
// pieces loop (the menu theme restarts itself), so their ends must run into
// their starts without a gap, a jump or a click.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "AudioHelpers.hpp"

namespace {

struct LoopRule {
    const char* file;
    int beatsPerMinute;  // four beats to the bar
};

const std::vector<LoopRule> loops = {
    {"intro.ogg", 84}, {"song1.ogg", 120}, {"song2.ogg", 108}, {"song3.ogg", 140}};
const char* const jingle = "vex.ogg";

constexpr double peakLimit = 0.891;  // -1 dBFS
constexpr double edgeLimit = 0.01;   // Vorbis leaves a little ripple at the edges
constexpr std::size_t rate = 44100;

class MusicFiles : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        mixer = std::make_unique<MixerSession>();
        for (const LoopRule& rule : loops) {
            pieces[rule.file] = decodeWithMixer(path(rule.file));
        }
        pieces[jingle] = decodeWithMixer(path(jingle));
    }
    static void TearDownTestSuite() {
        pieces.clear();
        mixer.reset();
    }
    static std::string path(const std::string& file) { return "data/music/" + file; }
    static const Decoded& piece(const std::string& file) {
        const std::optional<Decoded>& decoded = pieces[file];
        if (!decoded) {
            throw std::runtime_error(file + " did not decode");
        }
        return *decoded;
    }

    static std::unique_ptr<MixerSession> mixer;
    static std::map<std::string, std::optional<Decoded>> pieces;
};
std::unique_ptr<MixerSession> MusicFiles::mixer;
std::map<std::string, std::optional<Decoded>> MusicFiles::pieces;

// The last `before` frames followed by the first `after` frames: what the
// player hears when the piece comes round.
Decoded aroundSeam(const Decoded& piece, std::size_t before, std::size_t after) {
    Decoded seam;
    const std::size_t from = piece.frames() - before;
    seam.samples.assign(piece.samples.begin() + 2 * from, piece.samples.end());
    seam.samples.insert(seam.samples.end(), piece.samples.begin(),
                        piece.samples.begin() + 2 * after);
    return seam;
}

}  // namespace

TEST_F(MusicFiles, LengthsFitTheMemoryBudget) {
    ASSERT_TRUE(mixer->open());
    // The intro waits for the jingle; its logo fades in over five seconds.
    EXPECT_GE(piece(jingle).seconds(), 4.0);
    EXPECT_LE(piece(jingle).seconds(), 5.0);
    double total = piece(jingle).seconds();
    for (const LoopRule& rule : loops) {
        SCOPED_TRACE(rule.file);
        EXPECT_GE(piece(rule.file).seconds(), 60.0);
        EXPECT_LE(piece(rule.file).seconds(), 120.0);
        total += piece(rule.file).seconds();
    }
    // Every piece stays decoded in memory: 6 minutes are 60 MiB of samples.
    EXPECT_LT(total, 360.0);

    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator("data/music")) {
        bytes += entry.file_size();
    }
    EXPECT_LT(bytes, 15u * 1024u * 1024u);
}

TEST_F(MusicFiles, AreStereoVorbisAtCdRateWithHeadroomAndSilentEdges) {
    for (const std::string file : {"vex.ogg", "intro.ogg", "song1.ogg", "song2.ogg", "song3.ogg"}) {
        SCOPED_TRACE(file);
        const auto format = readVorbisFormat(path(file));
        ASSERT_TRUE(format.has_value()) << "not an Ogg Vorbis stream";
        EXPECT_EQ(format->channels, 2);
        EXPECT_EQ(format->sampleRate, 44100);
        ASSERT_TRUE(pieces[file].has_value()) << "the mixer cannot decode it";
        const Decoded& music = piece(file);
        EXPECT_LT(music.peak(), peakLimit) << "peak " << dbfs(music.peak()) << " dBFS";
        // Loud enough to carry, quiet enough to leave room for the effects.
        EXPECT_GT(dbfs(music.rms()), -24.0);
        EXPECT_LT(dbfs(music.rms()), -12.0);
        EXPECT_LE(music.frameLevel(0), edgeLimit);
        EXPECT_LE(music.frameLevel(music.frames() - 1), edgeLimit);
    }
}

TEST_F(MusicFiles, JingleStartsAtOnceAndRingsOut) {
    const Decoded& music = piece(jingle);
    // Heard within the first half second of the logo...
    EXPECT_GT(dbfs(music.rms(0, rate / 2)), -40.0);
    // ...and fading away at the end instead of stopping mid-note.
    const std::size_t last = music.frames();
    EXPECT_LT(music.rms(last - rate / 10, last), music.rms() * 0.2);
}

TEST_F(MusicFiles, LoopsAreWholeBarsAndTheirSeamsRunOnWithoutGapOrJump) {
    for (const LoopRule& rule : loops) {
        SCOPED_TRACE(rule.file);
        const Decoded& music = piece(rule.file);
        const std::size_t bar = 4 * 60 * rate / static_cast<std::size_t>(rule.beatsPerMinute);
        EXPECT_EQ(music.frames() % bar, 0u)
            << "the loop does not end on a bar line, so the beat stumbles at the seam";
        // Half a second either side of the seam, in windows of 20 ms.
        const std::size_t side = rate / 2;
        const std::size_t window = rate / 50;
        const Decoded seam = aroundSeam(music, side, side);
        std::vector<double> levels;
        for (std::size_t from = 0; from + window <= seam.frames(); from += window) {
            levels.push_back(seam.rms(from, from + window));
        }
        const double seamQuietest = *std::min_element(levels.begin(), levels.end());
        // The music's own quietest moment away from the seam, as the yardstick:
        // rests between notes are music, a hole at the seam is not.
        double quietestElsewhere = 1.0;
        for (std::size_t from = side; from + window <= music.frames() - side; from += window) {
            quietestElsewhere = std::min(quietestElsewhere, music.rms(from, from + window));
        }
        EXPECT_GT(dbfs(seamQuietest), -45.0) << "silence at the seam";
        EXPECT_GT(seamQuietest, quietestElsewhere * 0.5)
            << "the seam drops to " << dbfs(seamQuietest) << " dBFS, the piece elsewhere only to "
            << dbfs(quietestElsewhere) << " dBFS";
        // The level does not jump: the second before and after the seam match.
        const double before = music.rms(music.frames() - side, music.frames() - window);
        const double after = music.rms(window, side);
        EXPECT_LT(std::abs(dbfs(before) - dbfs(after)), 8.0);
        // The two samples that meet are close.
        for (int channel = 0; channel < 2; ++channel) {
            const int last =
                music.samples[music.samples.size() - 2 + static_cast<std::size_t>(channel)];
            const int first = music.samples[static_cast<std::size_t>(channel)];
            EXPECT_LE(std::abs(last - first), 600) << "a step at the seam clicks";
        }
    }
}
