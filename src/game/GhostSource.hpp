#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/GameMode.hpp"
#include "game/GhostTrack.hpp"
#include "game/RecordedRun.hpp"
#include "online/HighscoreClient.hpp"

// Picks the run the ghost replays on a level, by the "ghost" setting: the
// personal best's run (game/PersonalRuns), or the record's run from the
// highscore server, falling back to the personal best's when the server has
// none or cannot be reached. A run that does not replay on this level file
// in this physics is no ghost.
class GhostSource {
  public:
    explicit GhostSource(std::string_view serverAddress);

    // The ghost of the level built from `levelFile`; none when the setting is
    // off, the file cannot be read or there is no run to replay.
    std::unique_ptr<GhostTrack> trackFor(int choice, GameMode mode, int levelId,
                                         const std::string& levelFile);

  private:
    // The record's run text, asked of the server once per level, so a restart
    // does not wait for the server again.
    const std::string& recordText(GameMode mode, int levelId);

    HighscoreClient client;
    GameMode fetchedMode = raceMode;
    int fetchedLevel = -1;
    std::string fetched;
};

// The run in `text` when it is a run of the level with this SHA-256, in this
// mode and this game's physics; empty otherwise.
std::optional<RecordedRun> runForLevel(std::string_view text, GameMode mode,
                                       const std::string& levelSha256);
