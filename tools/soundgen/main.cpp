// rollavortex-soundgen: renders the game's sound effects and music into a data folder.
//
//   rollavortex-soundgen DATA_FOLDER [FILE ...]
//
// Writes DATA_FOLDER/sound/*.wav and DATA_FOLDER/music/*.ogg; with file names
// (e.g. "plonk.wav vex.ogg") only those. The output depends on nothing but the
// code: rendering twice gives identical bytes. Every sound is checked before it
// is written (clipping, clicks, level, loop seams; see Quality.hpp): a sound
// that breaks a rule is still written, named on stderr, and the exit code is 1.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "AudioFiles.hpp"
#include "Dsp.hpp"
#include "Pieces.hpp"
#include "SoundEffects.hpp"

namespace {

// Vorbis quality 0.4 (about 128 kbit/s): clean for synthesised music at well
// under half the size budget of the data folder.
constexpr float musicQuality = 0.4f;

void report(const std::string& file, const soundgen::StereoBuffer& buffer, double seconds) {
    std::printf("%-14s %7.2f s  peak %6.2f dBFS  rms %6.2f dBFS  (%.1f s to make)\n", file.c_str(),
                soundgen::framesToSeconds(buffer.frames()), soundgen::gainToDb(buffer.peak()),
                soundgen::gainToDb(buffer.rms()), seconds);
}

// Counts and names the broken rules of one sound.
int complain(const std::string& file, const std::vector<std::string>& problems) {
    for (const std::string& problem : problems) {
        std::fprintf(stderr, "%s %s\n", file.c_str(), problem.c_str());
    }
    return static_cast<int>(problems.size());
}

double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: rollavortex-soundgen DATA_FOLDER [FILE ...]\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const std::set<std::string> requested(argv + 2, argv + argc);
    std::set<std::string> unknown = requested;
    auto isWanted = [&](const std::string& file) {
        return requested.empty() || requested.count(file) > 0;
    };

    std::error_code error;
    std::filesystem::create_directories(root / "sound", error);
    std::filesystem::create_directories(root / "music", error);

    int failures = 0;
    for (const soundgen::SoundEffectRecipe& recipe : soundgen::soundEffects()) {
        if (!isWanted(recipe.file)) {
            continue;
        }
        const auto start = std::chrono::steady_clock::now();
        const soundgen::StereoBuffer buffer = recipe.render();
        const std::string path = (root / "sound" / recipe.file).string();
        if (!soundgen::writeWav(path, buffer)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ++failures;
        }
        report(recipe.file, buffer, since(start));
        failures += complain(recipe.file, soundgen::checkEffect(buffer, recipe.timing));
        unknown.erase(recipe.file);
    }
    for (const soundgen::MusicRecipe& recipe : soundgen::musicPieces()) {
        if (!isWanted(recipe.file)) {
            continue;
        }
        const auto start = std::chrono::steady_clock::now();
        const soundgen::Piece piece = recipe.compose();
        const soundgen::StereoBuffer buffer = soundgen::renderPiece(piece);
        const std::string path = (root / "music" / recipe.file).string();
        if (!soundgen::writeOgg(path, buffer, recipe.file, musicQuality)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ++failures;
        }
        report(recipe.file, buffer, since(start));
        failures += complain(recipe.file, soundgen::checkMusic(buffer, piece, recipe.timing));
        unknown.erase(recipe.file);
    }
    // Names left over were asked for but are not ours.
    for (const std::string& file : unknown) {
        std::fprintf(stderr, "no such sound or music piece: %s\n", file.c_str());
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
