#pragma once

#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "online/client/HighscoreClient.hpp"
#include "sim/base/GameMode.hpp"
#include "sim/run/GhostTrack.hpp"
#include "sim/run/RecordedRun.hpp"

// Picks the run the ghost replays on a level, by the "ghost" setting: the
// personal best's run (game/PersonalRuns), or the record's run from the
// highscore server, falling back to the personal best's when the server has
// none or cannot be reached, and always with online scores off: then the
// server is not asked at all. A run that does not replay on this level file
// in this physics is no ghost.
//
// The server is asked in the background: a slow or hung server delays the
// record's ghost (at most by the client's time-out, which the start countdown
// covers, and a late ghost catches up), never the level itself.
class GhostSource {
  public:
    explicit GhostSource(std::string_view serverAddress);

    // Starts finding the ghost of the level built from `levelFile`. The
    // record's run is asked of the server once per level, so a restart does
    // not ask again, and only when `online`.
    void choose(int choice, GameMode mode, int levelId, const std::string& levelFile, bool online);

    // The chosen ghost once it is known, handed out once. Null while the
    // server's answer is awaited, when the setting is off, the level file
    // cannot be read or there is no run to replay.
    std::unique_ptr<GhostTrack> takeTrack();

  private:
    struct Choice {
        int setting = 0;
        GameMode mode = raceMode;
        int levelId = 0;
        std::string levelBytes;
        std::string levelSha256;
    };

    std::unique_ptr<GhostTrack> trackOf(const Choice& chosen) const;

    HighscoreClient client;
    GameMode fetchedMode = raceMode;
    int fetchedLevel = -1;
    std::string fetched;
    // Declared after the client: it is waited for before the client goes.
    std::future<std::string> pending;
    std::optional<Choice> wanted;
};

// The run in `text` when it is a run of the level with this SHA-256, in this
// mode and this game's physics; empty otherwise.
std::optional<RecordedRun> runForLevel(std::string_view text, GameMode mode,
                                       const std::string& levelSha256);
