#include "menu/ReplayEntries.hpp"

#include <algorithm>

#include "game/PersonalRuns.hpp"
#include "game/ReplaySource.hpp"
#include "game/ScoreFont.hpp"
#include "sim/level/LevelList.hpp"
#include "sim/run/RunText.hpp"

namespace {

const std::string dot = " \xC2\xB7 ";

ReplayEntry fileEntry(const std::filesystem::path& file) {
    ReplayEntry entry;
    entry.label = file.filename().string();
    entry.whose = entry.label;
    entry.file = file;
    return entry;
}

// "Race · The Labyrinth · your best 18.050": the time as the kept run says.
std::string bestLabel(GameMode mode, const LevelEntry& level, const std::filesystem::path& file) {
    std::string label = std::string(modeName(mode)) + dot + level.name + dot + "your best";
    const ReplaySource source = replayOfFile(file, "");
    RecordedRun run;
    std::string error;
    if (source.problem.empty() && parseRun(source.runText, run, error) &&
        run.finishMilliseconds >= 0) {
        label +=
            " " + ScoreFont::shownText(static_cast<float>(run.finishMilliseconds) / 1000.0f, true);
    }
    return label;
}

// Without a runs folder there are no personal bests.
void addLevels(std::vector<ReplayEntry>& entries, const std::filesystem::path& runsFolder,
               bool online, std::vector<std::filesystem::path>& listed) {
    const PersonalRuns kept(runsFolder);
    for (GameMode mode : {raceMode, puzzleMode}) {
        for (const LevelEntry& level : levelsOf(mode)) {
            const std::filesystem::path best = kept.pathOf(mode, level.levelId);
            std::error_code error;
            if (!runsFolder.empty() && std::filesystem::is_regular_file(best, error)) {
                ReplayEntry entry = fileEntry(best);
                entry.kind = ReplayEntry::Kind::personalBest;
                entry.label = bestLabel(mode, level, best);
                entry.whose = "Your best";
                entries.push_back(entry);
                listed.push_back(best);
            }
            if (online) {
                ReplayEntry entry;
                entry.kind = ReplayEntry::Kind::record;
                entry.label = std::string(modeName(mode)) + dot + level.name + dot + "record";
                entry.whose = "Record";
                entry.mode = mode;
                entry.levelId = level.levelId;
                entries.push_back(entry);
            }
        }
    }
}

// Every .run file not listed yet, by name.
std::vector<std::filesystem::path> otherFiles(const std::filesystem::path& folder,
                                              const std::vector<std::filesystem::path>& listed) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    for (; !error && it != std::filesystem::directory_iterator() && files.size() < maxOtherFiles;
         it.increment(error)) {
        const std::filesystem::path& path = it->path();
        std::error_code kind;
        if (path.extension() == ".run" && it->is_regular_file(kind) &&
            std::find(listed.begin(), listed.end(), path) == listed.end()) {
            files.push_back(path);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

std::vector<ReplayEntry> findReplays(const std::filesystem::path& runsFolder,
                                     const std::string& commandLineFile, bool online) {
    std::vector<ReplayEntry> entries;
    if (!commandLineFile.empty()) {
        entries.push_back(fileEntry(commandLineFile));
    }
    std::vector<std::filesystem::path> listed;
    addLevels(entries, runsFolder, online, listed);
    if (!runsFolder.empty()) {
        for (const std::filesystem::path& file : otherFiles(runsFolder, listed)) {
            entries.push_back(fileEntry(file));
        }
    }
    return entries;
}
