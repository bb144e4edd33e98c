#include "sim/level/LevelFolder.hpp"

#include <algorithm>

#include "sim/base/FileBytes.hpp"
#include "sim/base/PlainText.hpp"
#include "sim/base/Sha256.hpp"
#include "sim/level/LevelReader.hpp"

namespace fs = std::filesystem;

namespace {

// A pack.txt of more than this is no list of levels.
constexpr std::size_t maxPackFileBytes = 64 * 1024;

bool isHidden(const fs::path& path) {
    const std::string name = path.filename().string();
    return name.empty() || name[0] == '.';
}

bool isLevelFile(const fs::directory_entry& entry) {
    std::error_code error;
    const fs::path extension = entry.path().extension();
    return !isHidden(entry.path()) && entry.is_regular_file(error) &&
           (extension == ".tmx" || extension == ".txt") &&
           entry.path().filename() != LevelFolderLimits::packFile;
}

bool isPackFolder(const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(folder / LevelFolderLimits::packFile, error);
}

// The entries of a folder in name order; none when it cannot be listed.
std::vector<fs::directory_entry> sortedEntries(const fs::path& folder) {
    std::vector<fs::directory_entry> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(*it);
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.path() < b.path(); });
    return entries;
}

FoundLevel brokenEntry(const fs::path& file, const std::string& pack, std::string reason) {
    FoundLevel found;
    found.file = file;
    found.name = file.filename().string();
    found.pack = pack;
    found.problems.push_back({std::move(reason)});
    return found;
}

// pack.txt: "name: <the pack's name>" and one level file name a line, in
// playing order; blank lines and lines starting with '#' are ignored.
struct PackList {
    std::string name;
    std::vector<std::string> files;
};

PackList parsePackList(std::string_view text, std::string fallbackName) {
    PackList pack{std::move(fallbackName), {}};
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line.substr(0, 5) == "name:") {
            const std::string_view name = trimmed(line.substr(5));
            pack.name = name.empty() ? pack.name : std::string(name);
        } else {
            pack.files.emplace_back(line);
        }
    }
    return pack;
}

class Listing {
  public:
    explicit Listing(std::vector<FoundLevel>& levels) : levels(levels) {}

    bool full() const { return levels.size() >= LevelFolderLimits::maxLevels; }

    void add(FoundLevel level) {
        if (!full()) {
            levels.push_back(std::move(level));
        } else {
            ++dropped;
        }
    }

    // One entry more says what was left out.
    void noteDropped(const fs::path& folder) {
        if (dropped > 0) {
            levels.push_back(
                brokenEntry(folder, {},
                            "more than " + std::to_string(LevelFolderLimits::maxLevels) +
                                " levels: " + std::to_string(dropped) + " are not listed"));
        }
    }

    void addPack(const fs::path& folder) {
        std::string why;
        const fs::path listFile = folder / LevelFolderLimits::packFile;
        const auto text = readFileUpTo(listFile, maxPackFileBytes, why);
        const std::string folderName = folder.filename().string();
        if (!text || text->size() > maxPackFileBytes) {
            add(brokenEntry(listFile, folderName,
                            text ? "the pack list is larger than 64 KiB" : why));
            return;
        }
        const PackList pack = parsePackList(*text, folderName);
        if (pack.files.empty()) {
            add(brokenEntry(listFile, pack.name, "the pack list names no level files"));
        }
        for (const std::string& name : pack.files) {
            const fs::path file(name);
            if (file.has_parent_path() || file.filename() != file || name == ".." || name == ".") {
                add(brokenEntry(folder / file.filename(), pack.name,
                                "the pack list names \"" + name +
                                    "\": a pack's levels are files of its own folder"));
                continue;
            }
            add(examineLevelFile(folder / file, pack.name));
        }
    }

    void addFolder(const fs::path& folder, bool looseFiles) {
        const std::vector<fs::directory_entry> entries = sortedEntries(folder);
        if (looseFiles) {
            for (const fs::directory_entry& entry : entries) {
                if (isLevelFile(entry)) {
                    add(examineLevelFile(entry.path()));
                }
            }
        }
        for (const fs::directory_entry& entry : entries) {
            std::error_code error;
            if (!isHidden(entry.path()) && entry.is_directory(error) &&
                isPackFolder(entry.path())) {
                addPack(entry.path());
            }
        }
    }

  private:
    std::vector<FoundLevel>& levels;
    std::size_t dropped = 0;
};

}  // namespace

FoundLevel examineLevelFile(const fs::path& file, const std::string& pack) {
    FoundLevel found;
    found.file = file;
    found.pack = pack;
    std::string bytes;
    const LevelRead read = readLevelFile(file, bytes);
    if (!bytes.empty() || read.level) {
        found.sha256 = sha256Hex(bytes);
    }
    LevelVerdict verdict = judgeLevel(read);
    found.mode = verdict.mode;
    found.problems = std::move(verdict.problems);
    const bool titled = read.level && !read.level->title.empty();
    found.name = titled ? read.level->title : file.stem().string();
    return found;
}

std::vector<FoundLevel> findLevels(const fs::path& folder) {
    std::vector<FoundLevel> levels;
    Listing listing(levels);
    if (isPackFolder(folder)) {
        listing.addPack(folder);
    } else {
        listing.addFolder(folder, true);
    }
    listing.noteDropped(folder);
    return levels;
}

std::vector<FoundLevel> findPacks(const fs::path& folder) {
    std::vector<FoundLevel> levels;
    Listing listing(levels);
    listing.addFolder(folder, false);
    listing.noteDropped(folder);
    return levels;
}
