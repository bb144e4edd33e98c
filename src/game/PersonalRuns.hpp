#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "sim/level/LevelIdentity.hpp"
#include "sim/run/RecordedRun.hpp"

// The run of each level's personal best, kept so the player can race its
// ghost and resubmit it: one file per mode and level, "<mode>-<level>.run"
// with the level's identity (its id, or the SHA-256 of a custom level's file).
class PersonalRuns {
  public:
    // $XDG_DATA_HOME/rollavortex/runs, by default ~/.local/share/rollavortex/runs;
    // empty when neither variable gives an absolute folder.
    static std::filesystem::path defaultFolder();

    explicit PersonalRuns(std::filesystem::path folder = defaultFolder());

    std::filesystem::path pathOf(GameMode mode, const LevelIdentity& level) const;

    // The stored run of the level when it replays on the level file with this
    // SHA-256 in this game's physics. A file that does not read as such a run
    // is ignored with one line on standard error; a missing one silently.
    std::optional<RecordedRun> load(GameMode mode, const LevelIdentity& level,
                                    const std::string& levelSha256) const;

    // Stores the run as the run of its mode and level (from its header),
    // creating the folder when needed, through a temporary file and a rename.
    // False when it could not be written; the old run is then kept.
    bool save(const RecordedRun& run) const;

    // Stores the run unless the level already has a run at least as fast that
    // still replays: a finish that is no new personal best still gives the
    // level a ghost when the best's run is lost or was set in older physics
    // or on an older level file. True when the run was stored.
    bool keepIfFaster(const RecordedRun& run) const;

  private:
    std::filesystem::path folder;
};
